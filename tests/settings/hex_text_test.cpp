#include "settings/hex_text.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace jc {
namespace {

using Bytes = std::vector<unsigned char>;

std::string toHex(const Bytes& in) {
  std::string out(2 * in.size() + 2, '#');
  myitoa(in.data(), out.data(), in.size());
  EXPECT_EQ(out[2 * in.size()], '\0');
  EXPECT_EQ(out[2 * in.size() + 1], '#');
  return out.c_str();
}

// Answers the bytes written before the closing zero byte, checking that one is there.
Bytes fromHex(const char* text, std::size_t m) {
  const std::size_t n = (m + 1) / 2;
  Bytes out(n + 2, 0xAA);
  myatoi(text, out.data(), m);
  EXPECT_EQ(out[n], 0) << text;
  EXPECT_EQ(out[n + 1], 0xAA) << text;
  out.resize(n);
  return out;
}

TEST(HexTextTest, WritesUpperCaseDigitsHighNibbleFirst) {
  EXPECT_EQ(toHex({0x0A, 0xFF}), "0AFF");
  EXPECT_EQ(toHex({}), "");
  const std::string standard = "*standard";
  EXPECT_EQ(toHex(Bytes(standard.begin(), standard.end())), "2A7374616E64617264");
}

TEST(HexTextTest, EveryByteRoundTrips) {
  Bytes all(256);
  for (int i = 0; i < 256; ++i) all[i] = static_cast<unsigned char>(i);
  const std::string hex = toHex(all);
  ASSERT_EQ(hex.size(), 512u);
  EXPECT_EQ(fromHex(hex.c_str(), hex.size()), all);
  EXPECT_EQ(fromHex("0AFF", 4), (Bytes{0x0A, 0xFF}));
  EXPECT_EQ(fromHex("", 0), Bytes{});
}

TEST(HexTextTest, OtherCharactersGiveOtherBytesNeverAFailure) {
  // Lower case and letters past F follow the same arithmetic as the upper-case digits.
  EXPECT_EQ(fromHex("0a", 2), Bytes{0x2A});
  EXPECT_EQ(fromHex("a0", 2), Bytes{0xA0});
  EXPECT_EQ(fromHex("G0", 2), Bytes{0x00});
  EXPECT_EQ(fromHex("0G", 2), Bytes{0x10});
  EXPECT_EQ(fromHex("!!", 2), Bytes{0x01});
}

TEST(HexTextTest, ReadsNothingBeyondTheCountOrTheTerminator) {
  // An odd count: the missing low digit reads as "0".
  const char odd[] = {'A', 'B', 'C', 'D'};  // no terminator at all
  EXPECT_EQ(fromHex(odd, 3), (Bytes{0xAB, 0xC0}));
  // A count longer than the text: the positions after its end read as "0".
  EXPECT_EQ(fromHex("AB", 6), (Bytes{0xAB, 0x00, 0x00}));
  EXPECT_EQ(fromHex(nullptr, 2), Bytes{0x00});
}

}  // namespace
}  // namespace jc
