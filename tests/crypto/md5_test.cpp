#include "crypto/md5.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <random>
#include <string>

namespace jc {
namespace {

std::string md5(const std::string& text) {
  char out[33];
  calcMD5(out, text.c_str());
  return out;
}

std::string referenceMd5(const std::string& text) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EXPECT_EQ(EVP_Digest(text.data(), text.size(), digest, &length, EVP_md5(), nullptr), 1);
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  for (unsigned i = 0; i < length; ++i) {
    hex += kHex[digest[i] >> 4];
    hex += kHex[digest[i] & 15];
  }
  return hex;
}

TEST(Md5Test, MatchesRfc1321Vectors) {
  const std::pair<std::string, std::string> vectors[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"1234567890123456789012345678901234567890"
       "1234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const auto& [text, digest] : vectors) EXPECT_EQ(md5(text), digest) << text;
}

TEST(Md5Test, MatchesOpenSslAcrossBlockBoundaries) {
  // Every length up to 300 covers 55/56 (one or two padding blocks) and 63/64/65.
  std::mt19937 rng(1992);
  std::uniform_int_distribution<int> byte(1, 255);
  for (std::size_t n = 0; n <= 300; ++n) {
    std::string text(n, '\0');
    for (auto& c : text) c = static_cast<char>(byte(rng));
    EXPECT_EQ(md5(text), referenceMd5(text)) << n;
  }
  const std::string large(100000, 'q');
  EXPECT_EQ(md5(large), referenceMd5(large));
}

TEST(Md5Test, MissingBuffersWriteNothing) {
  calcMD5(nullptr, "abc");
  char out[33] = "untouched";
  calcMD5(out, nullptr);
  EXPECT_STREQ(out, "");
}

}  // namespace
}  // namespace jc
