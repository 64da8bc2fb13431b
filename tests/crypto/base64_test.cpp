#include "crypto/base64.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace jc {
namespace {

using Bytes = std::vector<unsigned char>;

TEST(Base64EncodeTest, MatchesOpenSslAndRoundTrips) {
  std::mt19937 rng(4648);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int n = 0; n <= 200; ++n) {
    Bytes in(n);
    for (auto& b : in) b = static_cast<unsigned char>(byte(rng));
    std::string expected(Base64encode_len(n) + 8, '\0');
    const int expectedLength =
        EVP_EncodeBlock(reinterpret_cast<unsigned char*>(expected.data()), in.data(), n);
    expected.resize(expectedLength);

    std::string text(Base64encode_len(n) + 8, '#');
    const int answered = Base64encode(text.data(), in.data(), n);
    EXPECT_EQ(answered, expectedLength + 1) << n;
    EXPECT_EQ(answered, Base64encode_len(n)) << n;
    EXPECT_EQ(text.substr(0, answered), expected + '\0') << n;

    EXPECT_EQ(Base64decode_len(text.c_str()), (expectedLength + 3) / 4 * 3 + 1) << n;
    Bytes decoded(Base64decode_len(text.c_str()) + 1, 0xAA);
    const int decodedLength = Base64decode(decoded.data(), text.c_str());
    ASSERT_EQ(decodedLength, n);
    EXPECT_EQ(Bytes(decoded.begin(), decoded.begin() + n), in) << n;
    EXPECT_EQ(decoded[n], 0) << n;
  }
}

TEST(Base64EncodeTest, SixteenBytesGiveTwentyFourCharacters) {
  const unsigned char in[16] = {};
  char out[32];
  EXPECT_EQ(Base64encode(out, in, 16), 25);
  EXPECT_STREQ(out, "AAAAAAAAAAAAAAAAAAAAAA==");
  EXPECT_EQ(Base64encode_len(16), 25);
  EXPECT_EQ(Base64encode_len(0), 1);
}

struct DecodeCase {
  const char* text;
  std::string bytes;
  int lengthBound;  // Base64decode_len
};

void PrintTo(const DecodeCase& c, std::ostream* os) {
  *os << testing::PrintToString(std::string(c.text));
}

class Base64DecodeTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(Base64DecodeTest, DecodesTheLeadingAlphabetCharacters) {
  const DecodeCase& c = GetParam();
  unsigned char out[64];
  std::fill(std::begin(out), std::end(out), 0xAA);
  const int n = Base64decode(out, c.text);
  EXPECT_EQ(n, static_cast<int>(c.bytes.size()));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(out), n), c.bytes);
  EXPECT_EQ(out[n], 0);
  EXPECT_EQ(Base64decode_len(c.text), c.lengthBound);
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, Base64DecodeTest,
    testing::Values(
        // 24 characters ending in "==": the pad ends the text, 16 bytes come out.
        DecodeCase{"AAECAwQFBgcICQoLDA0ODw==",
                   std::string("\0\1\2\3\4\5\6\7\10\11\12\13\14\15\16\17", 16), 19},
        DecodeCase{"", "", 1}, DecodeCase{"QUJD", "ABC", 4},
        // A line break, a space or a byte outside ASCII cuts the text.
        DecodeCase{"QUJD\nREVG", "ABC", 4}, DecodeCase{"QUJD REVG", "ABC", 4},
        DecodeCase{"QUJD\xc3\xa9REVG", "ABC", 4},
        // A single character left over decodes to nothing; two or three to one or two bytes.
        DecodeCase{"QUJDR", "ABC", 7}, DecodeCase{"QUJDRA", "ABCD", 7},
        DecodeCase{"QUJDREU", "ABCDE", 7}, DecodeCase{"QQ==QUJD", "A", 4}));

}  // namespace
}  // namespace jc
