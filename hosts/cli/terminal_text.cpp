#include "hosts/cli/terminal_text.h"

#include <cstdio>

namespace jc::cli {
namespace {

std::string hexEscape(const char* format, unsigned value) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
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
    } else {
      out += static_cast<char>(byte);
    }
  }
  return out;
}

}  // namespace jc::cli
