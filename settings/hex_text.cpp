#include "settings/hex_text.h"

#include <cstring>

namespace jc {

namespace {

char hexDigit(unsigned v) { return static_cast<char>(v < 10 ? '0' + v : 'A' + (v - 10)); }

// The high half of a byte from a character: digits and letters alike land on
// their nibble for "0"-"9" and "A"-"F"; anything else gives some other value.
unsigned highPart(unsigned char h) {
  return h <= '9' ? (h * 16u) & 0xffu : (h * 16u + 144u) & 0xffu;
}
unsigned lowPart(unsigned char l) { return l <= '9' ? (l - 48u) & 0xffu : (l - 55u) & 0xffu; }

}  // namespace

void myitoa(const unsigned char* in, char* out, std::size_t n) {
  if (out == nullptr) return;
  if (in == nullptr) n = 0;
  for (std::size_t i = 0; i < n; ++i) {
    out[2 * i] = hexDigit(in[i] >> 4);
    out[2 * i + 1] = hexDigit(in[i] & 0x0f);
  }
  out[2 * n] = '\0';
}

void myatoi(const char* text, unsigned char* out, std::size_t m) {
  if (out == nullptr) return;
  // Characters are read only inside the first m and before any NUL; a position
  // outside them (the low digit of an odd count, or a text shorter than m)
  // reads as "0", so "A" with a count of 1 gives 0xA0 and a missing pair 0x00.
  const std::size_t available = text == nullptr ? 0 : strnlen(text, m);
  auto at = [&](std::size_t i) -> unsigned char {
    return i < available ? static_cast<unsigned char>(text[i]) : '0';
  };
  std::size_t o = 0;
  for (std::size_t i = 0; i < m; i += 2) {
    out[o++] = static_cast<unsigned char>((highPart(at(i)) + lowPart(at(i + 1))) & 0xffu);
  }
  out[o] = 0;
}

}  // namespace jc
