#include "prefs/plist_whole_strings.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace jc {

bool plistStringsAreWhole(plist_t node) {
  switch (plist_get_node_type(node)) {
    case PLIST_STRING: {
      std::uint64_t length = 0;
      const char* text = plist_get_string_ptr(node, &length);
      return text && std::strlen(text) == length;
    }
    case PLIST_ARRAY: {
      const std::uint32_t count = plist_array_get_size(node);
      for (std::uint32_t i = 0; i < count; ++i)
        if (!plistStringsAreWhole(plist_array_get_item(node, i))) return false;
      return true;
    }
    case PLIST_DICT: {
      plist_dict_iter iter = nullptr;
      plist_dict_new_iter(node, &iter);
      bool whole = true;
      for (plist_t item = nullptr; whole && iter;) {
        plist_dict_next_item(node, iter, nullptr, &item);
        if (!item) break;
        whole = plistStringsAreWhole(item);
      }
      std::free(iter);
      return whole;
    }
    default:
      return true;
  }
}

}  // namespace jc
