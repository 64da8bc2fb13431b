#include "prefs/plist_nesting_depth.h"

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

namespace jc {
namespace {

bool isContainer(plist_t node) {
  const plist_type type = plist_get_node_type(node);
  return type == PLIST_DICT || type == PLIST_ARRAY;
}

}  // namespace

int plistNestingDepth(plist_t node) {
  int deepest = 0;
  std::vector<std::pair<plist_t, int>> pending;
  if (node && isContainer(node)) pending.emplace_back(node, 1);
  while (!pending.empty()) {
    const auto [container, depth] = pending.back();
    pending.pop_back();
    deepest = std::max(deepest, depth);
    const bool array = plist_get_node_type(container) == PLIST_ARRAY;
    void* iter = nullptr;
    if (array) {
      plist_array_new_iter(container, &iter);
    } else {
      plist_dict_new_iter(container, &iter);
    }
    if (!iter) continue;
    for (;;) {
      plist_t item = nullptr;
      if (array) {
        plist_array_next_item(container, iter, &item);
      } else {
        plist_dict_next_item(container, iter, nullptr, &item);
      }
      if (!item) break;
      if (isContainer(item)) pending.emplace_back(item, depth + 1);
    }
    std::free(iter);
  }
  return deepest;
}

}  // namespace jc
