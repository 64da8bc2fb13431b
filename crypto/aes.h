// AES-128 wrappers for credentials: ECB, no padding, zero-filled buffers.
#pragma once

#include <cstddef>

namespace jc {

// The 16-byte key every installation shares for the "fixed-key" value forms.
extern const unsigned char kFixedAesKey[16];

// Enciphers the C string `plain` under the fixed key into `out` (zero-filled
// over `outSize` bytes first). Whole 16-byte blocks are read from `plain`, so
// the caller's buffer must hold zeros after the terminator up to the next
// multiple of 16. An empty text leaves `out` all zeros. Cipher bytes that would
// not fit in `outSize` are not written.
void my_aes_encrypt(const char* plain, unsigned char* out, std::size_t outSize);

// As my_aes_encrypt, under the key made of the last 16 characters of `key`.
// A key string shorter than 16 characters is refused: `out` is zero-filled and
// nothing is enciphered.
void my_aes_encrypt2(const char* plain, const char* key, unsigned char* out, std::size_t outSize);

// Deciphers `length` bytes (rounded up to whole blocks) under the fixed key to
// the same offsets of `out`. Writes a NUL first, so a length of 0 gives "".
// The caller's `out` must have room for the rounded-up length.
void my_aes_decrypt(const unsigned char* cipher, std::size_t length, unsigned char* out);

}  // namespace jc
