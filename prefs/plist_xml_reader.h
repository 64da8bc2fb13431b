// Reading XML property lists into libplist nodes, with bounded nesting.
//
// libplist's XML reader frees a partial tree recursively when it gives up on
// a malformed document, and copies and frees whole trees recursively too, so
// a document nested a few hundred thousand levels deep exhausts the stack.
// The nesting of the document's elements is therefore measured first, by a
// scan that skips what libplist skips, and a document nested deeper than the
// store ever writes is refused before libplist sees it.
#pragma once

#include <string_view>

#include "prefs/domain_store.h"
#include "prefs/plist_nesting_depth.h"

namespace jc {

// The value of an XML property list as libplist reads it, or null when the
// document is not one, is larger than kMaxDomainBytes, its arrays and
// dictionaries nest deeper than kMaxPlistNesting, or a string holds a value
// libplist cannot hand back (plistStringsAreWhole).
PlistPtr parsePlistXml(std::string_view xml);

}  // namespace jc
