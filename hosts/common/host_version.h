// What a host's --version prints.
#pragma once

#include <ostream>
#include <string_view>

namespace jc {

// "<program> <version>", the plug-in interface version this host speaks, and
// the module's own answer. Throws ModuleError (after the first two lines) when
// the module cannot be loaded or speaks another version.
void printHostVersion(std::ostream& out, std::string_view program);

}  // namespace jc
