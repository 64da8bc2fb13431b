#include "crypto/aes.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace jc {

const unsigned char kFixedAesKey[16] = {0x5c, 0x1e, 0x77, 0x02, 0x9a, 0x40, 0xe3, 0x18,
                                        0x6b, 0xd2, 0x04, 0xf1, 0x38, 0x0c, 0x9e, 0x2a};

namespace {

constexpr std::size_t kBlock = 16;

struct CipherFree {
  void operator()(EVP_CIPHER* c) const { EVP_CIPHER_free(c); }
};
struct CipherCtxFree {
  void operator()(EVP_CIPHER_CTX* c) const { EVP_CIPHER_CTX_free(c); }
};
using CipherCtx = std::unique_ptr<EVP_CIPHER_CTX, CipherCtxFree>;

// Fetched once: an implicit fetch on every initialisation costs more than the
// enciphering of a short credential.
const EVP_CIPHER* aes128Ecb() {
  static const std::unique_ptr<EVP_CIPHER, CipherFree> cipher(
      EVP_CIPHER_fetch(nullptr, "AES-128-ECB", nullptr));
  return cipher.get();
}

// A local copy of a 16-byte key that wipes itself when it goes out of scope.
class KeyCopy {
 public:
  explicit KeyCopy(const unsigned char* key) { std::memcpy(bytes_, key, sizeof bytes_); }
  ~KeyCopy() { OPENSSL_cleanse(bytes_, sizeof bytes_); }
  KeyCopy(const KeyCopy&) = delete;
  KeyCopy& operator=(const KeyCopy&) = delete;
  const unsigned char* data() const { return bytes_; }

 private:
  unsigned char bytes_[kBlock];
};

// A context keyed for one direction, ECB without padding; null on failure.
CipherCtx makeContext(const KeyCopy& key, bool encrypt) {
  const EVP_CIPHER* cipher = aes128Ecb();
  if (cipher == nullptr) return nullptr;
  CipherCtx ctx(EVP_CIPHER_CTX_new());
  if (!ctx) return nullptr;
  if (EVP_CipherInit_ex(ctx.get(), cipher, nullptr, key.data(), nullptr, encrypt ? 1 : 0) != 1 ||
      EVP_CIPHER_CTX_set_padding(ctx.get(), 0) != 1) {
    return nullptr;
  }
  return ctx;
}

// Transforms `length` bytes (a multiple of 16) from `in` to `out`.
bool transform(EVP_CIPHER_CTX* ctx, const unsigned char* in, std::size_t length,
               unsigned char* out) {
  // EVP counts in int; long inputs go in whole-block pieces that fit one.
  constexpr std::size_t kMaxPiece = std::size_t{1} << 30;
  for (std::size_t done = 0; done < length;) {
    const std::size_t piece = std::min(length - done, kMaxPiece);
    int written = 0;
    if (EVP_CipherUpdate(ctx, out + done, &written, in + done, static_cast<int>(piece)) != 1 ||
        static_cast<std::size_t>(written) != piece) {
      return false;
    }
    done += piece;
  }
  return true;
}

// Transforms `length` bytes of `in` block by block to the same offsets of
// `out`. A trailing partial block is taken as its bytes followed by zeros; no
// byte of `in` past `length` is read. Answers false when the cipher fails.
bool transformBlocks(EVP_CIPHER_CTX* ctx, const unsigned char* in, std::size_t length,
                     unsigned char* out) {
  const std::size_t whole = length - length % kBlock;
  if (!transform(ctx, in, whole, out)) return false;
  if (whole == length) return true;
  unsigned char last[kBlock] = {};
  std::memcpy(last, in + whole, length - whole);
  const bool ok = transform(ctx, last, kBlock, out + whole);
  OPENSSL_cleanse(last, sizeof last);
  return ok;
}

// The common body of the two encryptions, with the key already chosen.
void encryptUnder(const KeyCopy& key, const char* plain, unsigned char* out, std::size_t outSize) {
  const std::size_t n = std::strlen(plain);
  // Only the blocks that fit whole in the output are enciphered at all.
  const std::size_t length = std::min(n, outSize - outSize % kBlock);
  if (length == 0) return;
  CipherCtx ctx = makeContext(key, true);
  if (!ctx ||
      !transformBlocks(ctx.get(), reinterpret_cast<const unsigned char*>(plain), length, out)) {
    // A half-written cipher text is worse than none.
    OPENSSL_cleanse(out, outSize);
  }
}

}  // namespace

void my_aes_encrypt(const char* plain, unsigned char* out, std::size_t outSize) {
  if (plain == nullptr || out == nullptr) return;
  std::memset(out, 0, outSize);
  if (plain[0] == '\0') return;
  const KeyCopy key(kFixedAesKey);
  encryptUnder(key, plain, out, outSize);
}

void my_aes_encrypt2(const char* plain, const char* key, unsigned char* out, std::size_t outSize) {
  if (plain == nullptr || key == nullptr || out == nullptr) return;
  std::memset(out, 0, outSize);
  if (plain[0] == '\0') return;
  const std::size_t keyLength = std::strlen(key);
  if (keyLength < kBlock) return;
  const KeyCopy keyCopy(reinterpret_cast<const unsigned char*>(key + keyLength - kBlock));
  encryptUnder(keyCopy, plain, out, outSize);
}

void my_aes_decrypt(const unsigned char* cipher, std::size_t length, unsigned char* out) {
  if (cipher == nullptr || out == nullptr) return;
  out[0] = '\0';
  if (length == 0) return;
  const KeyCopy key(kFixedAesKey);
  CipherCtx ctx = makeContext(key, false);
  if (!ctx || !transformBlocks(ctx.get(), cipher, length, out)) {
    // Nothing trustworthy was produced: leave an empty text.
    OPENSSL_cleanse(out, length + (kBlock - length % kBlock) % kBlock);
  }
}

}  // namespace jc
