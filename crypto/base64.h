// Base64 (RFC 4648 alphabet, "=" padding, no line breaks) with C-buffer semantics.
#pragma once

#include <cstddef>

namespace jc {

// Text length of `count` encoded bytes plus one for the terminating NUL.
int Base64encode_len(int count);
// Writes the Base64 text of `count` bytes and a NUL; answers the text length + 1.
int Base64encode(char* out, const unsigned char* in, int count);
// Upper bound of the decoded length plus one, from the leading alphabet characters.
int Base64decode_len(const char* text);
// Decodes the leading alphabet characters of `text` into `out`, writes a NUL after
// them and answers the number of bytes decoded.
int Base64decode(unsigned char* out, const char* text);

}  // namespace jc
