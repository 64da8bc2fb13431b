// Typed text into the bytes of an encoding, and bytes back into text.
#include "platform/text.h"

#include <unicode/utf16.h>

#include <algorithm>

#include "platform/icu_converter.h"

namespace jc {
namespace {

struct Prefix {
  std::string bytes;
  std::size_t consumed = 0;  // UTF-16 units behind `bytes`
  bool complete = false;     // the whole input was converted
};

// Converts `text` from its start, a code point at a time, until the input ends,
// the next character's bytes would pass `maxBytes`, or (without `lossByte`) a
// character cannot be represented. With `lossByte`, such a character (an
// unpaired surrogate included) becomes that one byte instead.
Prefix convertPrefix(std::u16string_view text, detail::IcuConverter& converter,
                     std::size_t maxBytes, std::optional<char> lossByte) {
  Prefix result;
  result.bytes.reserve(std::min(maxBytes, text.size() * 2));
  std::size_t i = 0;
  while (i < text.size()) {
    const char16_t unit = text[i];
    if (unit < 0x80) {
      if (result.bytes.size() + 1 > maxBytes) break;
      result.bytes.push_back(static_cast<char>(unit));
      ++i;
      continue;
    }
    std::size_t count = 1;
    bool paired = !U16_IS_SURROGATE(unit);
    if (U16_IS_LEAD(unit) && i + 1 < text.size() && U16_IS_TRAIL(text[i + 1])) {
      count = 2;
      paired = true;
    }
    char buffer[detail::IcuConverter::kMaxCharBytes];
    const std::size_t size = paired ? converter.encodeOne(text.data() + i, count, buffer) : 0;
    if (size == 0) {
      if (!lossByte || result.bytes.size() + 1 > maxBytes) break;
      result.bytes.push_back(*lossByte);
    } else {
      if (result.bytes.size() + size > maxBytes) break;
      result.bytes.append(buffer, size);
    }
    i += count;
  }
  result.consumed = i;
  result.complete = i == text.size();
  return result;
}

// The first `maxChars` units of `text`, less a lead surrogate whose trail the
// limit cuts off: half a character is never converted.
std::u16string_view leadingUnits(std::u16string_view text, std::size_t maxChars) {
  if (maxChars >= text.size()) return text;
  if (maxChars > 0 && U16_IS_LEAD(text[maxChars - 1]) && U16_IS_TRAIL(text[maxChars])) {
    --maxChars;
  }
  return text.substr(0, maxChars);
}

}  // namespace

std::string convertLossless(std::u16string_view text, CFStringEncoding enc, std::size_t maxChars,
                            std::size_t maxBytes) {
  detail::IcuConverter* converter = detail::cachedConverter(enc);
  if (!converter) return {};
  return convertPrefix(leadingUnits(text, maxChars), *converter, maxBytes, std::nullopt).bytes;
}

std::string convertLossy(std::u16string_view text, CFStringEncoding enc, std::size_t maxChars,
                         std::size_t maxBytes, char lossByte) {
  detail::IcuConverter* converter = detail::cachedConverter(enc);
  if (!converter) return {};
  return convertPrefix(leadingUnits(text, maxChars), *converter, maxBytes, lossByte).bytes;
}

std::optional<std::string> convertCString(std::u16string_view text, CFStringEncoding enc,
                                          std::size_t bufferSize) {
  detail::IcuConverter* converter = detail::cachedConverter(enc);
  if (!converter || bufferSize == 0) return std::nullopt;
  if (text.find(u'\0') != std::u16string_view::npos) return std::nullopt;
  Prefix converted = convertPrefix(text, *converter, bufferSize - 1, std::nullopt);
  if (!converted.complete) return std::nullopt;
  return std::move(converted.bytes);
}

std::optional<std::u16string> decodeBytes(std::string_view bytes, CFStringEncoding enc) {
  detail::IcuConverter* converter = detail::cachedConverter(enc);
  if (!converter) return std::nullopt;
  return converter->decode(bytes);
}

std::optional<std::u16string> decodeBytesNS(std::string_view bytes, NSStringEncoding enc) {
  return decodeBytes(bytes, CFStringConvertNSStringEncodingToEncoding(enc));
}

}  // namespace jc
