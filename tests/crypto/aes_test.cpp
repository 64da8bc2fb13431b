#include "crypto/aes.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <array>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace jc {
namespace {

using Bytes = std::vector<unsigned char>;

Bytes fromHex(const std::string& hex) {
  Bytes out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    out.push_back(static_cast<unsigned char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  }
  return out;
}

// An AES-128-ECB transform of whole blocks written directly against EVP,
// independent of the wrappers under test.
Bytes referenceEcb(const Bytes& key, const Bytes& in, bool encrypt) {
  EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
  Bytes out(in.size());
  int len = 0;
  EXPECT_EQ(EVP_CipherInit_ex(ctx, EVP_aes_128_ecb(), nullptr, key.data(), nullptr, encrypt), 1);
  EVP_CIPHER_CTX_set_padding(ctx, 0);
  EXPECT_EQ(EVP_CipherUpdate(ctx, out.data(), &len, in.data(), static_cast<int>(in.size())), 1);
  EVP_CIPHER_CTX_free(ctx);
  return out;
}

const Bytes kFixedKey = fromHex("5c1e77029a40e3186bd204f1380c9e2a");

// A 512-byte buffer as the callers use, poisoned so untouched bytes show.
struct Output {
  std::array<unsigned char, 512> bytes;
  Output() { bytes.fill(0xAA); }
  Bytes first(std::size_t n) const { return Bytes(bytes.begin(), bytes.begin() + n); }
  bool zeroFrom(std::size_t from, std::size_t to) const {
    for (std::size_t i = from; i < to; ++i)
      if (bytes[i] != 0) return false;
    return true;
  }
};

TEST(AesSpoolKeyTest, MatchesFips197AppendixBUnderLastSixteenKeyCharacters) {
  const Bytes key = fromHex("2b7e151628aed2a6abf7158809cf4f3c");
  const Bytes plain = fromHex("3243f6a8885a308d313198a2e0370734");
  // Characters before the last sixteen play no part in the key.
  const std::string keyText = "Sun, 6 Dec 202" + std::string(key.begin(), key.end());
  char plainText[32] = {};
  std::memcpy(plainText, plain.data(), plain.size());
  Output out;
  my_aes_encrypt2(plainText, keyText.c_str(), out.bytes.data(), 511);
  EXPECT_EQ(out.first(16), fromHex("3925841d02dc09fbdc118597196a0b32"));
  EXPECT_TRUE(out.zeroFrom(16, 511));
  EXPECT_EQ(out.bytes[511], 0xAA);
}

// Every length from 1 to 100: 16 gives one block, 17 two, the second holding the
// 17th byte and fifteen zeros; the independent decryption shows each of them.
TEST(AesFixedKeyTest, RoundTripsAndAgreesWithIndependentDecryption) {
  std::mt19937 rng(1321);
  std::uniform_int_distribution<int> byte(1, 255);
  for (std::size_t n = 1; n <= 100; ++n) {
    char plain[128] = {};  // zeros after the text up to the next block
    for (std::size_t i = 0; i < n; ++i) plain[i] = static_cast<char>(byte(rng));
    const std::size_t cipherLength = (n + 15) / 16 * 16;
    Output out;
    my_aes_encrypt(plain, out.bytes.data(), 511);
    EXPECT_TRUE(out.zeroFrom(cipherLength, 511)) << n;

    const Bytes padded(plain, plain + cipherLength);
    EXPECT_EQ(referenceEcb(kFixedKey, out.first(cipherLength), false), padded) << n;

    std::array<unsigned char, 512> back{};
    my_aes_decrypt(out.bytes.data(), cipherLength, back.data());
    EXPECT_EQ(Bytes(back.begin(), back.begin() + cipherLength), padded) << n;
  }
}

TEST(AesFixedKeyTest, BytesAfterTheTerminatorAreNotEnciphered) {
  char clean[16] = "abc";
  char dirty[16] = "abc";
  std::memset(dirty + 4, 'Z', sizeof dirty - 4);
  Output a, b;
  my_aes_encrypt(clean, a.bytes.data(), 511);
  my_aes_encrypt(dirty, b.bytes.data(), 511);
  EXPECT_EQ(a.bytes, b.bytes);
}

TEST(AesFixedKeyTest, EmptyTextLeavesOnlyZeros) {
  Output out;
  my_aes_encrypt("", out.bytes.data(), 511);
  EXPECT_TRUE(out.zeroFrom(0, 511));
  EXPECT_EQ(out.bytes[511], 0xAA);
}

TEST(AesFixedKeyTest, NeverWritesPastTheOutputSize) {
  char plain[64] = {};
  std::memset(plain, 'x', 40);  // three blocks of cipher text
  const Bytes full = [&] {
    Output out;
    my_aes_encrypt(plain, out.bytes.data(), 511);
    return out.first(48);
  }();
  struct Case {
    std::size_t outSize, blocksWritten;
  };
  for (const Case c : {Case{47, 2}, Case{40, 2}, Case{16, 1}, Case{15, 0}, Case{0, 0}}) {
    Output out;
    my_aes_encrypt(plain, out.bytes.data(), c.outSize);
    const std::size_t cipher = 16 * c.blocksWritten;
    EXPECT_EQ(out.first(cipher), Bytes(full.begin(), full.begin() + cipher)) << c.outSize;
    EXPECT_TRUE(out.zeroFrom(cipher, c.outSize)) << c.outSize;
    EXPECT_EQ(out.bytes[c.outSize], 0xAA) << c.outSize;
  }
}

TEST(AesSpoolKeyTest, KeyIsTheLastSixteenCharacters) {
  char plain[32] = "secret";
  Output a, b, c;
  my_aes_encrypt2(plain, "Sun, 6 Dec 2026 15:26:44 +0900", a.bytes.data(), 511);
  my_aes_encrypt2(plain, "Mon, 17 Jan 1996 15:26:44 +0900", b.bytes.data(), 511);
  my_aes_encrypt2(plain, "Sun, 6 Dec 2026 15:26:45 +0900", c.bytes.data(), 511);
  EXPECT_EQ(a.bytes, b.bytes);
  EXPECT_NE(a.first(16), c.first(16));
}

TEST(AesSpoolKeyTest, RefusesAKeyShorterThanSixteenCharacters) {
  char plain[32] = "secret";
  Output shortKey;
  my_aes_encrypt2(plain, "123456789012345", shortKey.bytes.data(), 511);
  EXPECT_TRUE(shortKey.zeroFrom(0, 511));
}

TEST(AesDecryptTest, ZeroLengthGivesAnEmptyText) {
  const unsigned char cipher[16] = {1, 2, 3};
  Output out;
  my_aes_decrypt(cipher, 0, out.bytes.data());
  EXPECT_EQ(out.bytes[0], 0);
  EXPECT_EQ(out.bytes[1], 0xAA);
}

TEST(AesDecryptTest, PartialLastBlockIsTakenWithZerosAfterIt) {
  // Twenty cipher bytes: one whole block, then four bytes deciphered as a zero-padded block.
  const Bytes cipher = fromHex("00112233445566778899aabbccddeeff0badc0de");
  Bytes padded = cipher;
  padded.resize(32, 0);
  Output out;
  my_aes_decrypt(cipher.data(), cipher.size(), out.bytes.data());
  EXPECT_EQ(out.first(32), referenceEcb(kFixedKey, padded, false));
  EXPECT_EQ(out.bytes[32], 0xAA);
}

}  // namespace
}  // namespace jc
