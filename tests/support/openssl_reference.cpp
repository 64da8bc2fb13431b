#include "support/openssl_reference.h"

#include <openssl/evp.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <vector>

namespace jc::test {
namespace {

// AES-128-ECB without cipher padding over whole blocks, either way; none
// when OpenSSL refuses.
std::optional<std::string> aesEcbBlocks(std::string_view key16, std::string_view in, bool encrypt) {
  std::string out(in.size(), '\0');
  if (in.empty()) return out;
  std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(),
                                                                      EVP_CIPHER_CTX_free);
  int length = 0;
  if (!ctx ||
      EVP_CipherInit_ex(ctx.get(), EVP_aes_128_ecb(), nullptr,
                        reinterpret_cast<const unsigned char*>(key16.data()), nullptr,
                        encrypt ? 1 : 0) != 1 ||
      EVP_CIPHER_CTX_set_padding(ctx.get(), 0) != 1 ||
      EVP_CipherUpdate(ctx.get(), reinterpret_cast<unsigned char*>(out.data()), &length,
                       reinterpret_cast<const unsigned char*>(in.data()),
                       static_cast<int>(in.size())) != 1 ||
      static_cast<std::size_t>(length) != in.size())
    return std::nullopt;
  return out;
}

std::optional<std::string> openFixedKey(std::string_view cipher) {
  if (cipher.size() % 16 != 0) return std::nullopt;
  auto plain = aesEcbBlocks(fixedKeyBytes(), cipher, false);
  if (plain) plain->resize(std::min(plain->size(), plain->find('\0')));
  return plain;
}

}  // namespace

std::string fixedKeyBytes() {
  static const unsigned char key[16] = {0x5c, 0x1e, 0x77, 0x02, 0x9a, 0x40, 0xe3, 0x18,
                                        0x6b, 0xd2, 0x04, 0xf1, 0x38, 0x0c, 0x9e, 0x2a};
  return std::string(reinterpret_cast<const char*>(key), sizeof key);
}

std::string aesEcb(std::string_view key16, std::string_view plain) {
  if (key16.size() != 16) throw std::invalid_argument("AES-128 needs a 16-byte key");
  std::string in(plain);
  in.resize((in.size() + 15) / 16 * 16, '\0');
  auto out = aesEcbBlocks(key16, in, true);
  if (!out) throw std::runtime_error("EVP AES-128-ECB failed");
  return *out;
}

std::string aesFixedKey(std::string_view plain) { return aesEcb(fixedKeyBytes(), plain); }

std::string aesSpoolKey(std::string_view spoolTime, std::string_view plain) {
  if (spoolTime.size() < 16) throw std::invalid_argument("spool time text too short");
  return aesEcb(spoolTime.substr(spoolTime.size() - 16), plain);
}

std::string md5Hex(std::string_view text) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_Digest(text.data(), text.size(), digest, &length, EVP_md5(), nullptr) != 1)
    throw std::runtime_error("EVP MD5 failed");
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (unsigned int i = 0; i < length; ++i) {
    out += digits[digest[i] >> 4];
    out += digits[digest[i] & 15];
  }
  return out;
}

std::string base64(std::string_view bytes) {
  std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
  const int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                reinterpret_cast<const unsigned char*>(bytes.data()),
                                static_cast<int>(bytes.size()));
  out.resize(static_cast<std::size_t>(n));
  return out;
}

std::string upperHex(std::string_view bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (unsigned char b : bytes) {
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

std::string fixedKeyHex(std::string_view plain, std::size_t n) {
  std::string cipher = aesFixedKey(plain);
  cipher.resize(n, '\0');
  return upperHex(cipher);
}

std::optional<std::string> bytesOfHex(std::string_view hex) {
  if (hex.size() % 2 != 0) return std::nullopt;
  auto nibble = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  std::string bytes;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int hi = nibble(hex[i]);
    const int lo = nibble(hex[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    bytes.push_back(static_cast<char>(hi * 16 + lo));
  }
  return bytes;
}

std::optional<std::string> openFixedKeyHex(std::string_view hex) {
  const auto cipher = bytesOfHex(hex);
  return cipher ? openFixedKey(*cipher) : std::nullopt;
}

std::optional<std::string> openFixedKeyBase64(std::string_view base64) {
  if (base64.size() % 4 != 0) return std::nullopt;
  std::vector<unsigned char> out(base64.size() / 4 * 3 + 1);
  const int n = EVP_DecodeBlock(out.data(), reinterpret_cast<const unsigned char*>(base64.data()),
                                static_cast<int>(base64.size()));
  if (n < 0) return std::nullopt;
  std::size_t length = static_cast<std::size_t>(n);
  // EVP_DecodeBlock counts the bytes the "=" padding stands for.
  for (std::size_t i = base64.size(); i > 0 && base64[i - 1] == '='; --i) --length;
  return openFixedKey(std::string_view(reinterpret_cast<const char*>(out.data()), length));
}

}  // namespace jc::test
