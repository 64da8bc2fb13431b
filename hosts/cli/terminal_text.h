// Text from a printer or a file, made safe to print on a terminal.
#pragma once

#include <string>
#include <string_view>

namespace jc::cli {

// `utf8` with every control character written out: tab, line feed and carriage
// return as \t, \n and \r, the other C0 controls and DEL as \xHH, the C1
// controls (U+0080 to U+009F) as \u0080 … \u009f, and the bidirectional
// embeddings, overrides and isolates (U+202A to U+202E, U+2066 to U+2069),
// which reorder the rest of the line, as \u202a … \u2069. Everything else,
// invalid bytes too, passes unchanged.
std::string escapeControls(std::string_view utf8);

}  // namespace jc::cli
