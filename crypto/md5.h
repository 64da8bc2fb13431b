// MD5 (RFC 1321) of a C string as 32 lower-case hex digits.
#pragma once

namespace jc {

// Writes the digest of strlen(text) bytes of `text` into `out` (at least 33
// bytes) followed by a NUL. A null `out` writes nothing.
void calcMD5(char* out, const char* text);

}  // namespace jc
