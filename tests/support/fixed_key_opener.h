// The plain text of the fixed-key value forms, deciphered straight with
// OpenSSL: the other direction of support/openssl_reference.h.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace jc::test {

// Upper- or lower-case hex to bytes; none unless the text is whole digit pairs.
std::optional<std::string> bytesOfHex(std::string_view hex);
// Fixed-key hex: deciphered and cut at the first zero byte; none when malformed.
std::optional<std::string> openFixedKeyHex(std::string_view hex);
// Fixed-key Base64: decoded, deciphered and cut at the first zero byte.
std::optional<std::string> openFixedKeyBase64(std::string_view base64);

}  // namespace jc::test
