#include "crypto/md5.h"

#include <cstdint>
#include <cstring>

namespace jc {

namespace {

constexpr std::uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

// Rotation amounts, four per round.
constexpr int kShift[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

constexpr std::uint32_t rotl(std::uint32_t x, int s) { return (x << s) | (x >> (32 - s)); }

std::uint32_t loadLe32(const unsigned char* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
         std::uint32_t{p[3]} << 24;
}

void storeLe32(std::uint32_t v, unsigned char* p) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

// One step: a = b + ((a + f + x[g] + t) <<< s), then the words rotate.
inline void step(std::uint32_t& a, std::uint32_t& b, std::uint32_t& c, std::uint32_t& d,
                 std::uint32_t f, std::uint32_t word, int i, int round) {
  const std::uint32_t rotated = rotl(a + f + kSine[i] + word, kShift[round][i % 4]);
  a = d;
  d = c;
  c = b;
  b += rotated;
}

// Folds one 64-byte block into the state.
void compress(std::uint32_t state[4], const unsigned char* block) {
  std::uint32_t x[16];
  for (int i = 0; i < 16; ++i) x[i] = loadLe32(block + 4 * i);
  std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
  for (int i = 0; i < 16; ++i) step(a, b, c, d, (b & c) | (~b & d), x[i], i, 0);
  for (int i = 16; i < 32; ++i) step(a, b, c, d, (d & b) | (~d & c), x[(5 * i + 1) % 16], i, 1);
  for (int i = 32; i < 48; ++i) step(a, b, c, d, b ^ c ^ d, x[(3 * i + 5) % 16], i, 2);
  for (int i = 48; i < 64; ++i) step(a, b, c, d, c ^ (b | ~d), x[(7 * i) % 16], i, 3);
  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
}

}  // namespace

void calcMD5(char* out, const char* text) {
  if (out == nullptr) return;
  if (text == nullptr) {
    // No text, no digest: an empty answer rather than the digest of "".
    out[0] = '\0';
    return;
  }
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  const std::size_t length = std::strlen(text);

  std::uint32_t state[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
  std::size_t done = 0;
  for (; length - done >= 64; done += 64) compress(state, bytes + done);

  // The tail, the 0x80 marker, zeros to 56 mod 64 and the bit length: one or two blocks.
  unsigned char tail[128] = {};
  const std::size_t rest = length - done;
  std::memcpy(tail, bytes + done, rest);
  tail[rest] = 0x80;
  const std::size_t tailLength = rest < 56 ? 64 : 128;
  const std::uint64_t bits = static_cast<std::uint64_t>(length) << 3;
  for (int i = 0; i < 8; ++i)
    tail[tailLength - 8 + i] = static_cast<unsigned char>(bits >> (8 * i));
  compress(state, tail);
  if (tailLength == 128) compress(state, tail + 64);

  unsigned char digest[16];
  for (int i = 0; i < 4; ++i) storeLe32(state[i], digest + 4 * i);
  static constexpr char kHex[] = "0123456789abcdef";
  for (int i = 0; i < 16; ++i) {
    out[2 * i] = kHex[digest[i] >> 4];
    out[2 * i + 1] = kHex[digest[i] & 0x0f];
  }
  out[32] = '\0';
}

}  // namespace jc
