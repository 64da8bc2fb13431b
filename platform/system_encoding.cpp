// The system encoding that a user's language implies.
#include <cstdlib>
#include <string>

#include "platform/text.h"

namespace jc {
namespace {

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsAsciiNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (asciiLower(a[i]) != asciiLower(b[i])) return false;
  }
  return true;
}

// Chinese in traditional characters: a Hant script, or Taiwan, Hong Kong or
// Macao without a script. A Hans script wins over the region.
bool isTraditionalChinese(std::string_view subtags) {
  bool traditionalRegion = false;
  while (!subtags.empty()) {
    const std::size_t end = subtags.find_first_of("_-");
    const std::string_view tag = subtags.substr(0, end);
    if (equalsAsciiNoCase(tag, "Hant")) return true;
    if (equalsAsciiNoCase(tag, "Hans")) return false;
    if (equalsAsciiNoCase(tag, "TW") || equalsAsciiNoCase(tag, "HK") ||
        equalsAsciiNoCase(tag, "MO")) {
      traditionalRegion = true;
    }
    subtags = end == std::string_view::npos ? std::string_view{} : subtags.substr(end + 1);
  }
  return traditionalRegion;
}

}  // namespace

CFStringEncoding systemEncodingForLanguage(std::string_view locale) {
  // language[_territory][.codeset][@modifier], or a BCP 47 tag with dashes.
  const std::string_view name = locale.substr(0, locale.find_first_of(".@"));
  const std::size_t languageEnd = name.find_first_of("_-");
  const std::string_view language = name.substr(0, languageEnd);
  const std::string_view rest =
      languageEnd == std::string_view::npos ? std::string_view{} : name.substr(languageEnd + 1);
  if (equalsAsciiNoCase(language, "ja")) return kCFStringEncodingMacJapanese;
  if (equalsAsciiNoCase(language, "ko")) return kCFStringEncodingMacKorean;
  if (equalsAsciiNoCase(language, "zh")) {
    return isTraditionalChinese(rest) ? kCFStringEncodingMacChineseTrad
                                      : kCFStringEncodingMacChineseSimp;
  }
  return kCFStringEncodingMacRoman;
}

CFStringEncoding systemEncodingFromEnvironment() {
  for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return systemEncodingForLanguage(value);
  }
  return kCFStringEncodingMacRoman;
}

}  // namespace jc
