#include "prefs/domain_file_name.h"

#include <openssl/evp.h>

#include <array>

namespace jc {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr char kDigestMark = '~';

bool keptAsIs(unsigned char byte, bool leading) {
  if (byte >= 'A' && byte <= 'Z') return true;
  if (byte >= 'a' && byte <= 'z') return true;
  if (byte >= '0' && byte <= '9') return true;
  if (byte == '_' || byte == '-') return true;
  return byte == '.' && !leading;
}

std::string escapeDomain(std::string_view domain) {
  std::string out;
  out.reserve(domain.size());
  for (std::size_t i = 0; i < domain.size(); ++i) {
    const auto byte = static_cast<unsigned char>(domain[i]);
    if (keptAsIs(byte, i == 0)) {
      out.push_back(static_cast<char>(byte));
    } else {
      out.push_back('%');
      out.push_back(kHexDigits[byte >> 4]);
      out.push_back(kHexDigits[byte & 0xF]);
    }
  }
  return out;
}

std::string sha256Hex(std::string_view bytes) {
  std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
  unsigned int length = 0;
  if (EVP_Digest(bytes.data(), bytes.size(), digest.data(), &length, EVP_sha256(), nullptr) != 1) {
    return {};
  }
  std::string hex;
  hex.reserve(length * 2);
  for (unsigned int i = 0; i < length; ++i) {
    hex.push_back(kHexDigits[digest[i] >> 4]);
    hex.push_back(kHexDigits[digest[i] & 0xF]);
  }
  return hex;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string domainFileName(std::string_view domain) {
  std::string stem = escapeDomain(domain);
  const std::size_t maxStem = kMaxDomainFileNameBytes - kDomainFileSuffix.size();
  if (stem.size() > maxStem) {
    const std::string digest = sha256Hex(domain);
    std::size_t keep = maxStem - 1 - digest.size();
    // Never cut an escape in half: the prefix stays a readable escaped text.
    if (keep >= 1 && stem[keep - 1] == '%') keep -= 1;
    if (keep >= 2 && stem[keep - 2] == '%') keep -= 2;
    stem.resize(keep);
    stem.push_back(kDigestMark);
    stem += digest;
  }
  return stem + std::string(kDomainFileSuffix);
}

std::optional<std::string> domainFromFileName(std::string_view fileName) {
  if (!fileName.ends_with(kDomainFileSuffix)) return std::nullopt;
  const std::string_view stem = fileName.substr(0, fileName.size() - kDomainFileSuffix.size());
  std::string domain;
  domain.reserve(stem.size());
  for (std::size_t i = 0; i < stem.size(); ++i) {
    if (stem[i] != '%') {
      domain.push_back(stem[i]);
      continue;
    }
    if (i + 2 >= stem.size()) return std::nullopt;
    const int high = hexValue(stem[i + 1]);
    const int low = hexValue(stem[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    domain.push_back(static_cast<char>(high * 16 + low));
    i += 2;
  }
  // Only the canonical spelling names a domain: this turns away "%41" for "A",
  // lower-case hex, stray bytes and shortened names.
  if (domainFileName(domain) != fileName) return std::nullopt;
  return domain;
}

}  // namespace jc
