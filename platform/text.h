// Text encodings by the platform's numbers, and the conversions the panel uses.
//
// Two numberings are in use: the "CF" numbers of the print-settings writer
// (0 Mac Roman, 1 Mac Japanese, 0x0500 Windows Latin-1, 0x0600 ASCII, ...) and
// the "NS" numbers of systemEncoding and the PPD encoding (4 UTF-8, 5 Latin-1,
// 8 Shift JIS, 12 Windows 1252, 30 Mac Roman). Text inside the module is UTF-16.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace jc {

using CFStringEncoding = std::uint32_t;
using NSStringEncoding = std::uint64_t;

inline constexpr CFStringEncoding kCFStringEncodingMacRoman = 0;
inline constexpr CFStringEncoding kCFStringEncodingMacJapanese = 1;
inline constexpr CFStringEncoding kCFStringEncodingMacChineseTrad = 2;
inline constexpr CFStringEncoding kCFStringEncodingMacKorean = 3;
inline constexpr CFStringEncoding kCFStringEncodingMacChineseSimp = 25;
inline constexpr CFStringEncoding kCFStringEncodingISOLatin1 = 0x0201;
inline constexpr CFStringEncoding kCFStringEncodingWindowsLatin1 = 0x0500;
inline constexpr CFStringEncoding kCFStringEncodingASCII = 0x0600;
inline constexpr CFStringEncoding kCFStringEncodingShiftJIS = 0x0A01;
inline constexpr CFStringEncoding kCFStringEncodingUTF8 = 0x08000100;
// No encoding: what an NS number without a CF counterpart converts to.
inline constexpr CFStringEncoding kCFStringEncodingInvalidId = 0xFFFFFFFFu;

inline constexpr NSStringEncoding NSASCIIStringEncoding = 1;
inline constexpr NSStringEncoding NSUTF8StringEncoding = 4;
inline constexpr NSStringEncoding NSISOLatin1StringEncoding = 5;
inline constexpr NSStringEncoding NSShiftJISStringEncoding = 8;
inline constexpr NSStringEncoding NSWindowsCP1252StringEncoding = 12;
inline constexpr NSStringEncoding NSMacOSRomanStringEncoding = 30;

// Between the two numberings. Encodings without an NS number of their own map
// to 0x80000000 | cf, and back. kCFStringEncodingInvalidId and NS 0 stand for
// each other; an NS number that names no encoding gives kCFStringEncodingInvalidId.
NSStringEncoding CFStringConvertEncodingToNSStringEncoding(CFStringEncoding cf);
CFStringEncoding CFStringConvertNSStringEncodingToEncoding(NSStringEncoding ns);

// The system encoding from a POSIX locale name or language ("ja_JP.UTF-8"):
// Japanese 1, traditional Chinese (zh_TW, zh_HK, zh_MO, zh_Hant) 2, Korean 3,
// simplified Chinese 25, anything else Mac Roman 0.
CFStringEncoding systemEncodingForLanguage(std::string_view locale);
// The same from LC_ALL, then LC_CTYPE, then LANG (first one set and non-empty).
CFStringEncoding systemEncodingFromEnvironment();

// The three conversions of typed text into bytes. Each looks at no more than
// `maxChars` leading UTF-16 units and produces no more than `maxBytes` bytes;
// a character whose bytes would pass `maxBytes` ends the conversion, and so
// does a surrogate pair that `maxChars` cuts in half. Unknown encodings give "".
// lossless: stops at the first character the encoding cannot represent.
std::string convertLossless(std::u16string_view text, CFStringEncoding enc, std::size_t maxChars,
                            std::size_t maxBytes);
// lossy: an unrepresentable character (a surrogate pair counts as one, an
// unpaired surrogate is one) becomes one `lossByte`.
std::string convertLossy(std::u16string_view text, CFStringEncoding enc, std::size_t maxChars,
                         std::size_t maxBytes, char lossByte = ' ');
// C string into a buffer of `bufferSize` bytes (NUL included): all or nothing.
// Fails when a character cannot be represented, the text holds a NUL, or the
// bytes and the NUL do not fit.
std::optional<std::string> convertCString(std::u16string_view text, CFStringEncoding enc,
                                          std::size_t bufferSize = 256);

// Bytes back into text; none when the bytes are not valid in the encoding.
std::optional<std::u16string> decodeBytes(std::string_view bytes, CFStringEncoding enc);
std::optional<std::u16string> decodeBytesNS(std::string_view bytes, NSStringEncoding enc);

// UTF-8 at the edges. Invalid UTF-8 becomes U+FFFD; unpaired surrogates likewise.
std::u16string fromUtf8(std::string_view utf8);
std::string toUtf8(std::u16string_view text);

// Equality without regard to case (full Unicode case folding).
bool equalsIgnoringCase(std::u16string_view a, std::u16string_view b);

}  // namespace jc
