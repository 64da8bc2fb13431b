// How deeply arrays and dictionaries nest in a property list.
#pragma once

#include <plist/plist.h>

namespace jc {

// Arrays and dictionaries nested deeper than this make a domain unreadable,
// and a tree nested deeper is never written.
inline constexpr int kMaxPlistNesting = 64;

// The deepest nesting of arrays and dictionaries in `node` (0 for a scalar,
// 1 for a flat dictionary), found without recursion.
int plistNestingDepth(plist_t node);

}  // namespace jc
