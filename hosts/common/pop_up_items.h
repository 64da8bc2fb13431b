// A pop-up's items as the panel gave them, and where its selection goes when
// items come and go. Each toolkit keeps the selection itself (a combo box in
// Qt, a number in memory) and asks these rules for its next value.
#pragma once

#include <string>
#include <vector>

#include "ui/toolkit.h"

namespace jc {

class PopUpItems {
 public:
  PopUpItems() = default;
  explicit PopUpItems(std::vector<MenuItem> items) : items_(std::move(items)) {}

  int count() const { return static_cast<int>(items_.size()); }
  bool empty() const { return items_.empty(); }
  // Whether `index` is an item's.
  bool contains(int index) const { return index >= 0 && index < count(); }
  // The item at `index`, or null outside the list.
  const MenuItem* at(int index) const;
  // Whether the program may select `index`: an item, or -1 for none.
  bool isSelection(int index) const { return index == -1 || contains(index); }
  // Whether the user may pick `index`: an item that is not a separator.
  bool isChoice(int index) const { return contains(index) && !at(index)->separator; }

  // Each answers false, changing nothing, outside the list.
  bool setTitle(int index, const std::u16string& title);
  bool setImage(int index, ImagePtr image);

  // Adds `item`; answers the selection after it, given the one before: an
  // empty pop-up without a selection selects its first item unless that is a
  // separator.
  int add(MenuItem item, int selected);
  // Removes the item at `index` (one of the list's); answers the selection
  // after it, as a combo box has it: an item before the selection moves it
  // up, removing the selected item selects the one now in its place (or the
  // new last one, or none).
  int remove(int index, int selected);
  void clear() { items_.clear(); }

 private:
  std::vector<MenuItem> items_;
};

}  // namespace jc
