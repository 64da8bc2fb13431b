// Bytes to and from upper-case hex text (two digits a byte, high nibble first).
#pragma once

#include <cstddef>

namespace jc {

// Writes 2n hex characters for the n bytes of `in`, then a NUL.
void myitoa(const unsigned char* in, char* out, std::size_t n);
// Turns m characters of hex text into ceil(m/2) bytes, then writes a zero byte.
// Characters other than 0-9 and A-F give other bytes, never a failure.
void myatoi(const char* text, unsigned char* out, std::size_t m);

}  // namespace jc
