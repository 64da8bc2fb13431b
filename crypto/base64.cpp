#include "crypto/base64.h"

#include <array>
#include <climits>

namespace jc {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
// Marks a byte that is not part of a Base64 text in the decoding table.
constexpr unsigned char kNotInAlphabet = 64;

constexpr std::array<unsigned char, 256> makeDecodeTable() {
  std::array<unsigned char, 256> table{};
  for (auto& v : table) v = kNotInAlphabet;
  for (unsigned char i = 0; i < 64; ++i) table[static_cast<unsigned char>(kAlphabet[i])] = i;
  return table;
}
constexpr std::array<unsigned char, 256> kDecode = makeDecodeTable();

unsigned char sextet(char c) { return kDecode[static_cast<unsigned char>(c)]; }

// The number of leading characters of `text` that belong to the alphabet.
int alphabetPrefixLength(const char* text) {
  int k = 0;
  while (k < INT_MAX && sextet(text[k]) != kNotInAlphabet) ++k;
  return k;
}

}  // namespace

int Base64encode_len(int count) {
  if (count < 0) count = 0;
  const long long length = (static_cast<long long>(count) + 2) / 3 * 4 + 1;
  return length > INT_MAX ? INT_MAX : static_cast<int>(length);
}

int Base64encode(char* out, const unsigned char* in, int count) {
  if (out == nullptr) return 0;
  if (in == nullptr || count < 0) count = 0;
  char* p = out;
  int i = 0;
  for (; count - i >= 3; i += 3) {
    *p++ = kAlphabet[in[i] >> 2];
    *p++ = kAlphabet[((in[i] & 0x03) << 4) | (in[i + 1] >> 4)];
    *p++ = kAlphabet[((in[i + 1] & 0x0f) << 2) | (in[i + 2] >> 6)];
    *p++ = kAlphabet[in[i + 2] & 0x3f];
  }
  if (count - i == 1) {
    *p++ = kAlphabet[in[i] >> 2];
    *p++ = kAlphabet[(in[i] & 0x03) << 4];
    *p++ = '=';
    *p++ = '=';
  } else if (count - i == 2) {
    *p++ = kAlphabet[in[i] >> 2];
    *p++ = kAlphabet[((in[i] & 0x03) << 4) | (in[i + 1] >> 4)];
    *p++ = kAlphabet[(in[i + 1] & 0x0f) << 2];
    *p++ = '=';
  }
  *p++ = '\0';
  return static_cast<int>(p - out);
}

int Base64decode_len(const char* text) {
  const int k = text == nullptr ? 0 : alphabetPrefixLength(text);
  return (k / 4 + (k % 4 != 0)) * 3 + 1;
}

int Base64decode(unsigned char* out, const char* text) {
  if (out == nullptr) return 0;
  if (text == nullptr) {
    out[0] = '\0';
    return 0;
  }
  const int k = alphabetPrefixLength(text);
  const char* in = text;
  unsigned char* p = out;
  int remaining = k;
  for (; remaining > 4; remaining -= 4, in += 4) {
    *p++ = static_cast<unsigned char>(sextet(in[0]) << 2 | sextet(in[1]) >> 4);
    *p++ = static_cast<unsigned char>(sextet(in[1]) << 4 | sextet(in[2]) >> 2);
    *p++ = static_cast<unsigned char>(sextet(in[2]) << 6 | sextet(in[3]));
  }
  // The last group: 2, 3 or 4 characters give 1, 2 or 3 bytes; a lone one gives none.
  if (remaining > 1) {
    *p++ = static_cast<unsigned char>(sextet(in[0]) << 2 | sextet(in[1]) >> 4);
  }
  if (remaining > 2) {
    *p++ = static_cast<unsigned char>(sextet(in[1]) << 4 | sextet(in[2]) >> 2);
  }
  if (remaining > 3) {
    *p++ = static_cast<unsigned char>(sextet(in[2]) << 6 | sextet(in[3]));
  }
  *p = '\0';
  // Equal to ((k + 3) / 4) * 3 - ((4 - r) % 4), r being the size of the last group.
  return static_cast<int>(p - out);
}

}  // namespace jc
