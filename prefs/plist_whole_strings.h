// Whether libplist can hand back every string of a property list.
#pragma once

#include <plist/plist.h>

namespace jc {

// Whether no string in `node` holds a NUL byte. libplist's XML reader keeps
// one (a raw NUL in a <string>), and its plist_get_string_val then aborts the
// program on an assertion; such a tree must not be used. (Keys it cuts at the
// NUL.) `node` nests at most kMaxPlistNesting deep.
bool plistStringsAreWhole(plist_t node);

}  // namespace jc
