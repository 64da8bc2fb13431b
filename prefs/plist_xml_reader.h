// Reading XML property lists into libplist nodes, with bounded nesting.
//
// libplist's own XML reader gives up on a malformed document by freeing what
// it built so far recursively, so a few million unclosed <array> tags exhaust
// the stack before it can answer. This reader builds the same nodes itself and
// stops at a fixed nesting depth; every tree it answers can then be copied,
// freed and written out by libplist without fear for the stack.
#pragma once

#include <string_view>

#include "prefs/domain_store.h"

namespace jc {

// Arrays and dictionaries nested deeper than this make a document unreadable.
inline constexpr int kMaxPlistNesting = 64;

// The value of an XML property list (what libplist's plist_to_xml writes: a
// <plist> element around one value, with an optional XML declaration,
// DOCTYPE and comments), or null when the document is not well formed, holds
// an unknown element or a malformed value, or nests deeper than
// kMaxPlistNesting. Text is taken byte for byte (libplist writes control
// characters and any byte as they are), with the five XML entities, numeric
// character references and CDATA sections decoded.
PlistPtr parsePlistXml(std::string_view xml);

// The deepest nesting of arrays and dictionaries in `node` (0 for a scalar,
// 1 for a flat dictionary), found without recursion.
int plistNestingDepth(plist_t node);

}  // namespace jc
