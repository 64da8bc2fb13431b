// Expected values of the credential forms, computed straight from OpenSSL's
// EVP interface so that tests never check the module's crypto against itself,
// and the fixed-key forms opened again the same way.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace jc::test {

// The 16 key bytes every installation shares for the fixed-key forms.
std::string fixedKeyBytes();

// AES-128-ECB of `plain` zero-padded to whole blocks (no cipher padding);
// an empty text gives no bytes.
std::string aesEcb(std::string_view key16, std::string_view plain);
std::string aesFixedKey(std::string_view plain);
// Under the key made of the last 16 characters of the spool time text.
std::string aesSpoolKey(std::string_view spoolTime, std::string_view plain);

// MD5 as 32 lower-case hex digits.
std::string md5Hex(std::string_view text);
// Base64 (RFC 4648) with "=" padding and no line breaks.
std::string base64(std::string_view bytes);
// Two upper-case hex digits a byte.
std::string upperHex(std::string_view bytes);

// The fixed-key hex form: the first `n` cipher bytes as hex, zeros past the text.
std::string fixedKeyHex(std::string_view plain, std::size_t n);

// Upper- or lower-case hex to bytes; none unless the text is whole digit pairs.
std::optional<std::string> bytesOfHex(std::string_view hex);
// Fixed-key hex: deciphered and cut at the first zero byte; none when malformed.
std::optional<std::string> openFixedKeyHex(std::string_view hex);
// Fixed-key Base64: decoded, deciphered and cut at the first zero byte.
std::optional<std::string> openFixedKeyBase64(std::string_view base64);

}  // namespace jc::test
