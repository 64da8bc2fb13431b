#include "platform/icu_converter.h"

namespace jc::detail {
namespace {

struct EncodingEntry {
  CFStringEncoding cf;
  const char* icuName;
  // Whether ICU's one-way mappings count as representable (see Shift JIS below).
  bool useFallbacks;
};

// ICU 72 has no Mac OS CJK tables, so the Mac CJK encodings use the ICU table of
// the standard each of them is built on. They agree on every character of that
// standard; the Mac tables add a few single bytes (0x80, 0xA0, 0xFD-0xFF) and
// vendor rows that ICU does not know, and those decode as invalid here.
//
// Mac Japanese and Shift JIS both use "ibm-943_P15A-2003", which ICU calls
// "Shift_JIS" (the Windows-31J flavour): JIS X 0208 in Shift JIS form with
// 0x5C and 0x7E as backslash and tilde, which keeps typed ASCII as ASCII for the
// printer. Its one-way mappings are enabled so that the JIS-standard code points
// that Mac Japanese maps natively (U+301C wave dash, U+2014, U+2016, U+2212,
// U+00A5 yen, U+203E) still convert to their Shift JIS bytes. The other tables'
// one-way mappings are best-fit guesses (superscript two to "2", "(c)" for the
// copyright sign) and stay off.
constexpr EncodingEntry kEncodings[] = {
    {kCFStringEncodingMacRoman, "macintosh", false},
    {kCFStringEncodingMacJapanese, "ibm-943_P15A-2003", true},
    // "Big5" is ICU's windows-950-2000: Big5 with the ETEN additions that the
    // Mac traditional Chinese table also carries.
    {kCFStringEncodingMacChineseTrad, "Big5", false},
    // KS X 1001 in EUC form; the larger Windows UHC table would accept Hangul
    // that Mac Korean cannot hold.
    {kCFStringEncodingMacKorean, "EUC-KR", false},
    // GB 2312 in EUC form (ICU's ibm-1383).
    {kCFStringEncodingMacChineseSimp, "GB2312", false},
    {kCFStringEncodingISOLatin1, "ISO-8859-1", false},
    {kCFStringEncodingWindowsLatin1, "windows-1252", false},
    {kCFStringEncodingASCII, "US-ASCII", false},
    {kCFStringEncodingShiftJIS, "ibm-943_P15A-2003", true},
    {kCFStringEncodingUTF8, "UTF-8", false},
};
constexpr std::size_t kEncodingCount = std::size(kEncodings);

const EncodingEntry* findEntry(CFStringEncoding enc, std::size_t* index) {
  for (std::size_t i = 0; i < kEncodingCount; ++i) {
    if (kEncodings[i].cf == enc) {
      if (index) *index = i;
      return &kEncodings[i];
    }
  }
  return nullptr;
}

// ICU's own STOP callbacks let unassigned default-ignorable code points (soft
// hyphen, zero-width joiner, variation selectors...) vanish silently; these
// leave every error standing, so such a character counts as unrepresentable.
void stopFromUnicode(const void*, UConverterFromUnicodeArgs*, const UChar*, int32_t, UChar32,
                     UConverterCallbackReason, UErrorCode*) {}
void stopToUnicode(const void*, UConverterToUnicodeArgs*, const char*, int32_t,
                   UConverterCallbackReason, UErrorCode*) {}

struct CacheSlot {
  std::unique_ptr<IcuConverter> converter;
  bool tried = false;
};

}  // namespace

const char* icuConverterName(CFStringEncoding enc) {
  const EncodingEntry* entry = findEntry(enc, nullptr);
  return entry ? entry->icuName : nullptr;
}

std::unique_ptr<IcuConverter> IcuConverter::open(const char* icuName, bool useFallbacks) {
  if (!icuName) return nullptr;
  UErrorCode status = U_ZERO_ERROR;
  UConverter* raw = ucnv_open(icuName, &status);
  if (U_FAILURE(status) || !raw) {
    if (raw) ucnv_close(raw);
    return nullptr;
  }
  std::unique_ptr<IcuConverter> converter(new IcuConverter(raw));
  ucnv_setFromUCallBack(raw, stopFromUnicode, nullptr, nullptr, nullptr, &status);
  ucnv_setToUCallBack(raw, stopToUnicode, nullptr, nullptr, nullptr, &status);
  if (U_FAILURE(status)) return nullptr;
  ucnv_setFallback(raw, useFallbacks ? 1 : 0);
  converter->learnAsciiDecoding();
  return converter;
}

void IcuConverter::learnAsciiDecoding() {
  for (std::size_t i = 0; i < asciiFixup_.size(); ++i) asciiFixup_[i] = static_cast<char16_t>(i);
  for (unsigned byte = 0; byte < 0x80; ++byte) {
    const char in = static_cast<char>(byte);
    const char* source = &in;
    UChar unit[4];
    UChar* target = unit;
    UErrorCode status = U_ZERO_ERROR;
    ucnv_resetToUnicode(cnv_.get());
    ucnv_toUnicode(cnv_.get(), &target, unit + 4, &source, &in + 1, nullptr, true, &status);
    if (U_SUCCESS(status) && target - unit == 1 && unit[0] < 0x80 && unit[0] != byte) {
      asciiFixup_[unit[0]] = static_cast<char16_t>(byte);
      needsAsciiFixup_ = true;
    }
  }
  ucnv_resetToUnicode(cnv_.get());
}

std::size_t IcuConverter::encodeOne(const char16_t* units, std::size_t count, char* out) {
  const UChar* source = units;
  const UChar* sourceEnd = units + count;
  char* target = out;
  UErrorCode status = U_ZERO_ERROR;
  ucnv_fromUnicode(cnv_.get(), &target, out + kMaxCharBytes, &source, sourceEnd, nullptr, true,
                   &status);
  if (U_FAILURE(status) || source != sourceEnd) {
    ucnv_resetFromUnicode(cnv_.get());
    return 0;
  }
  return static_cast<std::size_t>(target - out);
}

std::optional<std::u16string> IcuConverter::decode(std::string_view bytes) {
  ucnv_resetToUnicode(cnv_.get());
  // One unit per byte suffices for every supported table; the loop grows the
  // buffer should one ever produce more.
  std::u16string text(bytes.size() + 1, u'\0');
  const char* source = bytes.data();
  const char* sourceEnd = source + bytes.size();
  std::size_t written = 0;
  for (;;) {
    UChar* target = text.data() + written;
    UErrorCode status = U_ZERO_ERROR;
    ucnv_toUnicode(cnv_.get(), &target, text.data() + text.size(), &source, sourceEnd, nullptr,
                   true, &status);
    written = static_cast<std::size_t>(target - text.data());
    if (status == U_BUFFER_OVERFLOW_ERROR) {
      text.resize(text.size() * 2);
      continue;
    }
    if (U_FAILURE(status)) {
      ucnv_resetToUnicode(cnv_.get());
      return std::nullopt;
    }
    break;
  }
  text.resize(written);
  if (needsAsciiFixup_) {
    for (char16_t& unit : text) {
      if (unit < 0x80) unit = asciiFixup_[unit];
    }
  }
  return text;
}

IcuConverter* cachedConverter(CFStringEncoding enc) {
  std::size_t index = 0;
  const EncodingEntry* entry = findEntry(enc, &index);
  if (!entry) return nullptr;
  thread_local std::array<CacheSlot, kEncodingCount> cache;
  CacheSlot& slot = cache[index];
  if (!slot.tried) {
    slot.tried = true;
    slot.converter = IcuConverter::open(entry->icuName, entry->useFallbacks);
  }
  return slot.converter.get();
}

}  // namespace jc::detail
