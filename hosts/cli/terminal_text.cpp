#include "hosts/cli/terminal_text.h"

#include <cstdio>

namespace jc::cli {
namespace {

std::string hexEscape(const char* format, unsigned value) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

// The code point of the bidirectional control (U+202A to U+202E, U+2066 to
// U+2069) whose UTF-8 starts at `utf8[i]`, or 0.
unsigned bidiControlAt(std::string_view utf8, std::size_t i) {
  if (i + 2 >= utf8.size() || static_cast<unsigned char>(utf8[i]) != 0xe2) return 0;
  const auto second = static_cast<unsigned char>(utf8[i + 1]);
  const auto third = static_cast<unsigned char>(utf8[i + 2]);
  const unsigned code = 0x2000u | ((second & 0x3fu) << 6) | (third & 0x3fu);
  if ((second & 0xc0u) != 0x80u || (third & 0xc0u) != 0x80u) return 0;
  return (code >= 0x202a && code <= 0x202e) || (code >= 0x2066 && code <= 0x2069) ? code : 0;
}

}  // namespace

std::string escapeControls(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if (byte == '\t') {
      out += "\\t";
    } else if (byte == '\n') {
      out += "\\n";
    } else if (byte == '\r') {
      out += "\\r";
    } else if (byte < 0x20 || byte == 0x7f) {
      out += hexEscape("\\x%02x", byte);
    } else if (byte == 0xc2 && i + 1 < utf8.size() &&
               static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
               static_cast<unsigned char>(utf8[i + 1]) <= 0x9f) {
      out += hexEscape("\\u%04x", static_cast<unsigned char>(utf8[++i]));
    } else if (const unsigned bidi = bidiControlAt(utf8, i)) {
      out += hexEscape("\\u%04x", bidi);
      i += 2;
    } else {
      out += static_cast<char>(byte);
    }
  }
  return out;
}

}  // namespace jc::cli
