#include "support/fixed_key_opener.h"

#include <openssl/evp.h>

#include <memory>
#include <vector>

#include "support/openssl_reference.h"

namespace jc::test {
namespace {

struct CtxFree {
  void operator()(EVP_CIPHER_CTX* c) const { EVP_CIPHER_CTX_free(c); }
};

std::optional<std::string> decipher(std::string_view cipher) {
  if (cipher.size() % 16 != 0) return std::nullopt;
  const std::string key = fixedKeyBytes();
  std::unique_ptr<EVP_CIPHER_CTX, CtxFree> ctx(EVP_CIPHER_CTX_new());
  std::string out(cipher.size(), '\0');
  int n = 0;
  if (!ctx ||
      EVP_DecryptInit_ex(ctx.get(), EVP_aes_128_ecb(), nullptr,
                         reinterpret_cast<const unsigned char*>(key.data()), nullptr) != 1 ||
      EVP_CIPHER_CTX_set_padding(ctx.get(), 0) != 1 ||
      EVP_DecryptUpdate(ctx.get(), reinterpret_cast<unsigned char*>(out.data()), &n,
                        reinterpret_cast<const unsigned char*>(cipher.data()),
                        static_cast<int>(cipher.size())) != 1)
    return std::nullopt;
  out.resize(static_cast<std::size_t>(n));
  if (auto zero = out.find('\0'); zero != std::string::npos) out.resize(zero);
  return out;
}

}  // namespace

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
  return cipher ? decipher(*cipher) : std::nullopt;
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
  return decipher(std::string_view(reinterpret_cast<const char*>(out.data()), length));
}

}  // namespace jc::test
