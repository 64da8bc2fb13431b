// UTF-8 at the module's edges, and comparison without regard to case.
#include <unicode/stringoptions.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <cstdint>
#include <limits>

#include "platform/text.h"

namespace jc {

std::u16string fromUtf8(std::string_view utf8) {
  std::u16string text;
  text.reserve(utf8.size());
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(utf8.data());
  const auto length = static_cast<std::int64_t>(utf8.size());
  std::int64_t i = 0;
  while (i < length) {
    UChar32 c;
    // Each maximal ill-formed subsequence becomes one U+FFFD.
    U8_NEXT_OR_FFFD(bytes, i, length, c);
    if (U_IS_BMP(c)) {
      text.push_back(static_cast<char16_t>(c));
    } else {
      text.push_back(U16_LEAD(c));
      text.push_back(U16_TRAIL(c));
    }
  }
  return text;
}

std::string toUtf8(std::u16string_view text) {
  std::string utf8;
  utf8.reserve(text.size() * 3);
  const char16_t* units = text.data();
  const auto length = static_cast<std::int64_t>(text.size());
  std::int64_t i = 0;
  while (i < length) {
    UChar32 c;
    U16_NEXT_OR_FFFD(units, i, length, c);
    std::uint8_t buffer[U8_MAX_LENGTH];
    std::int32_t n = 0;
    U8_APPEND_UNSAFE(buffer, n, c);
    utf8.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(n));
  }
  return utf8;
}

// u_strCaseCompare folds both texts fully (U+00DF to "ss", U+FB03 to "ffi") before
// comparing, so "STRASSE" and "straße" are equal.
bool equalsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  constexpr std::size_t kMaxIcuLength = std::numeric_limits<std::int32_t>::max();
  if (a.size() > kMaxIcuLength || b.size() > kMaxIcuLength) return a == b;  // beyond ICU's reach
  UErrorCode status = U_ZERO_ERROR;
  const std::int32_t order =
      u_strCaseCompare(a.data(), static_cast<std::int32_t>(a.size()), b.data(),
                       static_cast<std::int32_t>(b.size()), U_FOLD_CASE_DEFAULT, &status);
  return U_SUCCESS(status) && order == 0;
}

}  // namespace jc
