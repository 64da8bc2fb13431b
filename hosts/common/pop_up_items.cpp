#include "hosts/common/pop_up_items.h"

#include <algorithm>
#include <utility>

namespace jc {

const MenuItem* PopUpItems::at(int index) const {
  return contains(index) ? &items_[static_cast<std::size_t>(index)] : nullptr;
}

bool PopUpItems::setTitle(int index, const std::u16string& title) {
  if (!contains(index)) return false;
  items_[static_cast<std::size_t>(index)].title = title;
  return true;
}

bool PopUpItems::setImage(int index, ImagePtr image) {
  if (!contains(index)) return false;
  items_[static_cast<std::size_t>(index)].image = std::move(image);
  return true;
}

int PopUpItems::add(MenuItem item, int selected) {
  const bool firstItem = items_.empty() && selected == -1 && !item.separator;
  items_.push_back(std::move(item));
  return firstItem ? 0 : selected;
}

int PopUpItems::remove(int index, int selected) {
  items_.erase(items_.begin() + index);
  if (selected > index) return selected - 1;
  if (selected != index) return selected;
  return items_.empty() ? -1 : std::min(index, count() - 1);
}

}  // namespace jc
