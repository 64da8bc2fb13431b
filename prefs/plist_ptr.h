// An owned libplist node.
#pragma once

#include <plist/plist.h>

#include <memory>
#include <type_traits>

namespace jc {

struct PlistDeleter {
  void operator()(plist_t node) const {
    if (node) plist_free(node);
  }
};
// An owned libplist node (plist_t is a pointer to an opaque node).
using PlistPtr = std::unique_ptr<std::remove_pointer_t<plist_t>, PlistDeleter>;

}  // namespace jc
