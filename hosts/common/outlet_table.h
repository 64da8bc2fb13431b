// A view's controls in layout order and its outlets by object name, as both
// toolkits keep them: the first control of a name is its outlet.
#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/toolkit.h"

namespace jc {

template <class C>
class OutletTable {
 public:
  // Adds `control` after the others; a name already taken keeps its first
  // control. Answers the control.
  C& add(std::unique_ptr<C> control) {
    C& added = *controls_.emplace_back(std::move(control));
    if (!added.name().empty()) byName_.emplace(added.name(), &added);
    return added;
  }
  // The outlet of `name`, or null.
  C* find(std::string_view name) const {
    const auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : it->second;
  }
  // The outlets' names in layout order.
  std::vector<std::string> names() const {
    std::vector<std::string> names;
    for (const auto& c : controls_)
      if (find(c->name()) == c.get()) names.push_back(c->name());
    return names;
  }
  bool contains(const Control* control) const {
    return std::any_of(controls_.begin(), controls_.end(),
                       [control](const auto& c) { return c.get() == control; });
  }
  const std::vector<std::unique_ptr<C>>& controls() const { return controls_; }
  void clear() {
    byName_.clear();
    controls_.clear();
  }

 private:
  std::vector<std::unique_ptr<C>> controls_;
  std::map<std::string, C*, std::less<>> byName_;
};

// Whether `control` may become its window's first responder: not hidden, and
// a label or edit field only while it can be selected.
bool takesFocus(const Control& control);

}  // namespace jc
