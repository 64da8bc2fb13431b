// ICU converters for the CF encoding numbers, opened once per thread and kept.
//
// Every encoding here is an ASCII superset: code points below 0x80 are their
// own single bytes, so callers may pass them through without asking ICU.
#pragma once

#include <unicode/ucnv.h>

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace jc::detail {

// The ICU converter name that stands for a CF encoding number, or null when
// the number is not one this module converts.
const char* icuConverterName(CFStringEncoding enc);

class IcuConverter {
 public:
  // Longest byte sequence of one code point in any supported encoding.
  static constexpr std::size_t kMaxCharBytes = 8;

  // Opens the converter; null when the name is unknown or ICU has no data for it.
  static std::unique_ptr<IcuConverter> open(const char* icuName, bool useFallbacks);

  IcuConverter(const IcuConverter&) = delete;
  IcuConverter& operator=(const IcuConverter&) = delete;

  // The bytes of one code point given as one or two UTF-16 units (a valid
  // surrogate pair or a single non-surrogate unit), written to `out`, which
  // holds kMaxCharBytes. Answers the byte count, 0 when the encoding cannot
  // represent the code point.
  std::size_t encodeOne(const char16_t* units, std::size_t count, char* out);

  // The whole byte sequence as text; none when any byte sequence is invalid,
  // unassigned or cut short.
  std::optional<std::u16string> decode(std::string_view bytes);

 private:
  struct Closer {
    void operator()(UConverter* c) const { ucnv_close(c); }
  };
  explicit IcuConverter(UConverter* cnv) : cnv_(cnv) {}
  void learnAsciiDecoding();

  std::unique_ptr<UConverter, Closer> cnv_;
  // ICU's IBM Shift JIS tables trade the controls 0x1A, 0x1C and 0x7F around;
  // this maps what ICU decodes for a byte below 0x80 back to the byte itself.
  std::array<char16_t, 0x80> asciiFixup_{};
  bool needsAsciiFixup_ = false;
};

// This thread's converter for `enc`, opened on first use; null for an unknown
// number. The converter is reset and ready; it stays owned by the cache.
IcuConverter* cachedConverter(CFStringEncoding enc);

}  // namespace jc::detail
