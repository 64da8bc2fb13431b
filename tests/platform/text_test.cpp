#include "platform/text.h"

#include <gtest/gtest.h>
#include <iconv.h>
#include <unicode/ustring.h>

#include <bit>
#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace jc {
namespace {

// glibc's iconv, an implementation independent of ICU, as the reference bytes.
std::optional<std::string> iconvEncode(std::u16string_view text, const char* charset) {
  const char* from = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
  iconv_t cd = iconv_open(charset, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string in(reinterpret_cast<const char*>(text.data()), text.size() * 2);
  std::string out(text.size() * 4 + 4, '\0');
  char* inPtr = in.data();
  char* outPtr = out.data();
  std::size_t inLeft = in.size();
  std::size_t outLeft = out.size();
  const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (rc == static_cast<std::size_t>(-1)) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

struct EncodingSample {
  CFStringEncoding enc;
  const char* iconvName;
  std::u16string text;
};

// Each encoding's own repertoire; Mac Japanese is checked against the
// Windows-31J table it is built on.
const EncodingSample kSamples[] = {
    {kCFStringEncodingMacRoman, "MACINTOSH", u"Caf\u00e9 \u2013 \u20ac5 \u00a9 \u00d8rsted \u03c0"},
    {kCFStringEncodingMacJapanese, "CP932",
     u"\u5c71\u7530\u592a\u90ce \uff76\uff80\uff76\uff85 abc"},
    {kCFStringEncodingShiftJIS, "CP932", u"\u6771\u4eac\u90fd 123 \u3042\u30a2"},
    {kCFStringEncodingMacChineseTrad, "BIG5", u"\u53f0\u5317\u5e02 \u4e2d\u6587"},
    {kCFStringEncodingMacKorean, "EUC-KR", u"\uc11c\uc6b8 \ud55c\uad6d\uc5b4"},
    {kCFStringEncodingMacChineseSimp, "GB2312", u"\u5317\u4eac \u4e2d\u6587"},
    {kCFStringEncodingISOLatin1, "ISO-8859-1", u"\u00c6r\u00f8sk\u00f8bing \u00f1 \u00ff"},
    {kCFStringEncodingWindowsLatin1, "CP1252", u"\u20ac \u201cquoted\u201d \u0153 \u0160"},
    {kCFStringEncodingASCII, "ASCII", u"plain text ~\\ {}"},
    {kCFStringEncodingUTF8, "UTF-8", u"Gr\u00fc\u00dfe \U0001F600 \u6771\u4eac"},
};

TEST(TextEncodingTest, ConvertsLikeIconvAndDecodesBack) {
  for (const EncodingSample& sample : kSamples) {
    SCOPED_TRACE(sample.iconvName);
    const std::optional<std::string> reference = iconvEncode(sample.text, sample.iconvName);
    ASSERT_TRUE(reference.has_value());
    EXPECT_EQ(convertCString(sample.text, sample.enc), reference);
    EXPECT_EQ(convertLossless(sample.text, sample.enc, 1000, 1000), *reference);
    EXPECT_EQ(convertLossy(sample.text, sample.enc, 1000, 1000), *reference);
    EXPECT_EQ(decodeBytes(*reference, sample.enc), sample.text);
  }
}

// Texts and the bytes the lossless conversion makes of them within 32
// characters and 32 bytes.
struct BytesCase {
  std::u16string text;
  CFStringEncoding enc;
  std::string bytes;
};

void expectLosslessBytes(std::initializer_list<BytesCase> cases) {
  for (const BytesCase& c : cases)
    EXPECT_EQ(convertLossless(c.text, c.enc, 32, 32), c.bytes) << "encoding " << c.enc;
}

TEST(TextEncodingTest, KnownBytes) {
  expectLosslessBytes({
      {u"\u00e9", kCFStringEncodingMacRoman, "\x8E"},
      {u"\u20ac", kCFStringEncodingMacRoman, "\xDB"},
      {u"\u20ac", kCFStringEncodingWindowsLatin1, "\x80"},
      {u"\u00e9", kCFStringEncodingISOLatin1, "\xE9"},
      {u"\u00e9", kCFStringEncodingUTF8, "\xC3\xA9"},
      {u"\u3042", kCFStringEncodingShiftJIS, "\x82\xA0"},
      {u"\u3042", kCFStringEncodingMacJapanese, "\x82\xA0"},
      // The JIS wave dash and yen sign, as typed on a Japanese system.
      {u"\u301c", kCFStringEncodingMacJapanese, "\x81\x60"},
      {u"\u00a5", kCFStringEncodingShiftJIS, "\x5C"},
      {u"\u4e2d", kCFStringEncodingMacChineseTrad, "\xA4\xA4"},
      {u"\u4e2d", kCFStringEncodingMacChineseSimp, "\xD6\xD0"},
      {u"\ud55c", kCFStringEncodingMacKorean, "\xC7\xD1"},
  });
}

TEST(TextEncodingTest, AsciiControlsStayThemselvesInShiftJis) {
  // ICU's IBM Shift JIS table trades 0x1A, 0x1C and 0x7F around.
  for (CFStringEncoding enc : {kCFStringEncodingShiftJIS, kCFStringEncodingMacJapanese}) {
    std::u16string text;
    std::string bytes;
    for (char16_t c = 0; c < 0x80; ++c) {
      text.push_back(c);
      bytes.push_back(static_cast<char>(c));
    }
    EXPECT_EQ(convertLossless(text, enc, 200, 200), bytes);
    EXPECT_EQ(decodeBytes(bytes, enc), text);
  }
}

TEST(TextEncodingTest, EverySingleByteEncodingRoundTripsAllBytes) {
  for (CFStringEncoding enc :
       {kCFStringEncodingMacRoman, kCFStringEncodingISOLatin1, kCFStringEncodingWindowsLatin1}) {
    for (int b = 0; b < 256; ++b) {
      const std::string byte(1, static_cast<char>(b));
      const std::optional<std::u16string> text = decodeBytes(byte, enc);
      ASSERT_TRUE(text.has_value()) << enc << " byte " << b;
      EXPECT_EQ(convertCString(*text, enc, 2).value_or("?"), b == 0 ? "?" : byte);
    }
  }
}

struct LimitCase {
  const char* name;
  std::u16string text;
  CFStringEncoding enc;
  std::size_t maxChars;
  std::size_t maxBytes;
  std::u16string convertedPrefix;
};

TEST(TextLimitTest, StopsAtWholeCharactersWithinBothLimits) {
  const std::u16string japanese200(200, u'\u3042');
  const LimitCase cases[] = {
      {"user name cut to 32 bytes", std::u16string(33, u'u'), kCFStringEncodingMacRoman, 32, 32,
       std::u16string(32, u'u')},
      {"login name of 255 bytes", std::u16string(300, u'n'), kCFStringEncodingMacRoman, 255, 255,
       std::u16string(255, u'n')},
      {"Japanese login name", japanese200, kCFStringEncodingShiftJIS, 255, 255,
       std::u16string(127, u'\u3042')},
      {"no half Shift JIS character", u"\u5c71\u7530\u592a\u90ce", kCFStringEncodingShiftJIS, 32, 7,
       u"\u5c71\u7530\u592a"},
      {"ASCII then a wide character", u"a\u3042", kCFStringEncodingMacJapanese, 10, 2, u"a"},
      {"no partial UTF-8", u"ab\u20ac", kCFStringEncodingUTF8, 10, 4, u"ab"},
      {"characters limit", u"abcdef", kCFStringEncodingMacRoman, 3, 32, u"abc"},
      {"surrogate pair cut by the characters limit", u"a\U0001F600", kCFStringEncodingUTF8, 2, 32,
       u"a"},
      {"whole surrogate pair", u"a\U0001F600", kCFStringEncodingUTF8, 3, 32, u"a\U0001F600"},
      {"nothing offered", u"abc", kCFStringEncodingMacRoman, 0, 32, u""},
      {"no room", u"abc", kCFStringEncodingMacRoman, 3, 0, u""},
      {"pass code of 9 digits", u"123456789", kCFStringEncodingMacRoman, 8, 8, u"12345678"},
  };
  for (const LimitCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string expected = convertCString(c.convertedPrefix, c.enc, 1024).value();
    EXPECT_EQ(convertLossless(c.text, c.enc, c.maxChars, c.maxBytes), expected);
    EXPECT_EQ(convertLossy(c.text, c.enc, c.maxChars, c.maxBytes), expected);
  }
}

TEST(TextConversionTest, LosslessStopsAtFirstUnrepresentableCharacter) {
  expectLosslessBytes({
      {u"Caf\u00e9\u6771\u4eac", kCFStringEncodingMacRoman, "Caf\x8E"},
      {u"\u6771\u4eac", kCFStringEncodingMacRoman, ""},
      {u"abc\u20acd", kCFStringEncodingISOLatin1, "abc"},
      {u"na\u00efve", kCFStringEncodingASCII, "na"},
      // A default-ignorable character is not dropped silently.
      {u"a\u00adb", kCFStringEncodingShiftJIS, "a"},
      {u"a\u200db", kCFStringEncodingMacRoman, "a"},
      {u"x\U0001F600y", kCFStringEncodingShiftJIS, "x"},
      {u"a\xD800"
       u"b",
       kCFStringEncodingUTF8, "a"},
      {u"a\xDC00"
       u"b",
       kCFStringEncodingUTF8, "a"},
  });
}

TEST(TextConversionTest, LossyPutsOneLossBytePerCharacter) {
  struct Case {
    std::u16string text;
    CFStringEncoding enc;
    std::size_t maxBytes;
    char lossByte;
    std::string bytes;
  };
  const Case cases[] = {
      {u"Caf\u00e9\u6771\u4eac!", kCFStringEncodingMacRoman, 32, ' ', "Caf\x8E  !"},
      {u"\u6771\u4eac"
       u"abc",
       kCFStringEncodingMacRoman, 32, ' ', "  abc"},
      {u"a\U0001F600"
       u"b",
       kCFStringEncodingWindowsLatin1, 32, ' ', "a b"},
      {u"a\xD800"
       u"b\xDC00",
       kCFStringEncodingUTF8, 32, ' ', "a b "},
      {u"a\u00adb", kCFStringEncodingShiftJIS, 32, ' ', "a b"},
      {u"x\u3042y", kCFStringEncodingASCII, 32, '?', "x?y"},
      {u"ab\u6771", kCFStringEncodingMacRoman, 3, ' ', "ab "},
      {u"ab\u6771", kCFStringEncodingMacRoman, 2, ' ', "ab"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(convertLossy(c.text, c.enc, 32, c.maxBytes, c.lossByte), c.bytes)
        << "encoding " << c.enc;
  }
}

TEST(TextConversionTest, CStringIsAllOrNothing) {
  struct Case {
    const char* name;
    std::u16string text;
    CFStringEncoding enc;
    std::size_t bufferSize;
    std::optional<std::string> bytes;
  };
  const Case cases[] = {
      {"converts", u"Caf\u00e9", kCFStringEncodingMacRoman, 256, "Caf\x8E"},
      {"one unrepresentable character", u"Caf\u00e9\u6771", kCFStringEncodingMacRoman, 256,
       std::nullopt},
      {"255 bytes and the NUL fit", std::u16string(255, u'x'), kCFStringEncodingMacRoman, 256,
       std::string(255, 'x')},
      {"256 bytes do not", std::u16string(256, u'x'), kCFStringEncodingMacRoman, 256, std::nullopt},
      {"254 Shift JIS bytes fit", std::u16string(127, u'\u3042'), kCFStringEncodingShiftJIS, 256,
       convertLossless(std::u16string(127, u'\u3042'), kCFStringEncodingShiftJIS, 300, 300)},
      {"256 Shift JIS bytes do not", std::u16string(128, u'\u3042'), kCFStringEncodingShiftJIS, 256,
       std::nullopt},
      {"embedded NUL", std::u16string(u"a\0b", 3), kCFStringEncodingMacRoman, 256, std::nullopt},
      {"empty text", u"", kCFStringEncodingMacRoman, 1, ""},
      {"no buffer", u"", kCFStringEncodingMacRoman, 0, std::nullopt},
      {"unpaired surrogate", u"a\xD800", kCFStringEncodingUTF8, 256, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(convertCString(c.text, c.enc, c.bufferSize), c.bytes) << c.name;
  }
}

TEST(TextConversionTest, UnknownEncodingsFailQuietly) {
  for (CFStringEncoding enc : {CFStringEncoding{0x0100}, CFStringEncoding{0x0920},
                               kCFStringEncodingInvalidId, CFStringEncoding{0x7FFFFFFF}}) {
    EXPECT_EQ(convertLossless(u"abc", enc, 32, 32), "");
    EXPECT_EQ(convertLossy(u"abc", enc, 32, 32), "");
    EXPECT_EQ(convertCString(u"abc", enc), std::nullopt);
    EXPECT_EQ(decodeBytes("abc", enc), std::nullopt);
  }
  EXPECT_EQ(decodeBytesNS("abc", 0), std::nullopt);
  EXPECT_EQ(decodeBytesNS("abc", 2), std::nullopt);
}

TEST(TextDecodingTest, RejectsInvalidBytes) {
  struct Case {
    std::string bytes;
    CFStringEncoding enc;
    std::optional<std::u16string> text;
  };
  const Case cases[] = {
      {"", kCFStringEncodingUTF8, u""},
      {"\xC3\xA9", kCFStringEncodingUTF8, u"\u00e9"},
      {"\xC3", kCFStringEncodingUTF8, std::nullopt},
      {"\xC0\xAF", kCFStringEncodingUTF8, std::nullopt},
      {"\xED\xA0\x80", kCFStringEncodingUTF8, std::nullopt},
      {"a\x80", kCFStringEncodingASCII, std::nullopt},
      {"\x82\xA0", kCFStringEncodingShiftJIS, u"\u3042"},
      {"\x82", kCFStringEncodingShiftJIS, std::nullopt},
      {"\x82\x20", kCFStringEncodingShiftJIS, std::nullopt},
      {"\xA4", kCFStringEncodingMacChineseTrad, std::nullopt},
      {"\xC7", kCFStringEncodingMacKorean, std::nullopt},
      {"\x80", kCFStringEncodingWindowsLatin1, u"\u20ac"},
      {std::string("a\0b", 3), kCFStringEncodingMacRoman, std::u16string(u"a\0b", 3)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(decodeBytes(c.bytes, c.enc), c.text) << "encoding " << c.enc;
  }
}

TEST(TextDecodingTest, ByNsNumber) {
  EXPECT_EQ(decodeBytesNS("\x8E", NSMacOSRomanStringEncoding), u"\u00e9");
  EXPECT_EQ(decodeBytesNS("\x82\xA0", NSShiftJISStringEncoding), u"\u3042");
  EXPECT_EQ(decodeBytesNS("\x82\xA0", 0x80000001), u"\u3042");  // Mac Japanese
  EXPECT_EQ(decodeBytesNS("\xE9", NSISOLatin1StringEncoding), u"\u00e9");
  EXPECT_EQ(decodeBytesNS("\xE9", NSUTF8StringEncoding), std::nullopt);
}

TEST(TextEncodingTest, ConvertersWorkOnAnyThread) {
  std::string onThread;
  std::thread worker(
      [&] { onThread = convertLossless(u"\u3042", kCFStringEncodingShiftJIS, 1, 2); });
  worker.join();
  EXPECT_EQ(onThread, "\x82\xA0");
  EXPECT_EQ(convertLossless(u"\u3042", kCFStringEncodingShiftJIS, 1, 2), "\x82\xA0");
}

TEST(EncodingNumbersTest, BetweenTheNumberings) {
  struct Pair {
    CFStringEncoding cf;
    NSStringEncoding ns;
  };
  const Pair pairs[] = {
      {kCFStringEncodingMacRoman, 30},
      {kCFStringEncodingISOLatin1, 5},
      {kCFStringEncodingWindowsLatin1, 12},
      {kCFStringEncodingASCII, 1},
      {kCFStringEncodingShiftJIS, 8},
      {kCFStringEncodingUTF8, 4},
      {kCFStringEncodingMacJapanese, 0x80000001},
      {kCFStringEncodingMacChineseTrad, 0x80000002},
      {kCFStringEncodingMacKorean, 0x80000003},
      {kCFStringEncodingMacChineseSimp, 0x80000019},
      {0x0100, 0x80000100},
      {kCFStringEncodingInvalidId, 0},
  };
  for (const Pair& p : pairs) {
    EXPECT_EQ(CFStringConvertEncodingToNSStringEncoding(p.cf), p.ns) << p.cf;
    EXPECT_EQ(CFStringConvertNSStringEncodingToEncoding(p.ns), p.cf) << p.ns;
  }
  for (NSStringEncoding unknown : {NSStringEncoding{2}, NSStringEncoding{10},
                                   NSStringEncoding{0x100000001}, NSStringEncoding{0x180000001}}) {
    EXPECT_EQ(CFStringConvertNSStringEncodingToEncoding(unknown), kCFStringEncodingInvalidId)
        << unknown;
  }
}

TEST(SystemEncodingTest, FromLanguage) {
  struct Case {
    const char* locale;
    CFStringEncoding enc;
  };
  const Case cases[] = {
      {"ja", 1},
      {"ja_JP.UTF-8", 1},
      {"ja_JP.eucJP@euro", 1},
      {"JA-jp", 1},
      {"zh_TW.UTF-8", 2},
      {"zh_HK", 2},
      {"zh_MO.UTF-8", 2},
      {"zh_Hant", 2},
      {"zh-Hant-CN", 2},
      {"zh_Hant_TW", 2},
      {"ko_KR.UTF-8", 3},
      {"ko", 3},
      {"zh_CN.UTF-8", 25},
      {"zh_SG", 25},
      {"zh", 25},
      {"zh_Hans_HK", 25},
      {"zh@pinyin", 25},
      {"C", 0},
      {"POSIX", 0},
      {"C.UTF-8", 0},
      {"en_US.UTF-8", 0},
      {"", 0},
      {"jav_ID", 0},
      {"kok_IN", 0},
      {"de_DE@euro", 0},
      {"_TW", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(systemEncodingForLanguage(c.locale), c.enc) << c.locale;
}

class SystemEncodingEnvironmentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : kNames) {
      const char* value = std::getenv(name);
      saved_.push_back(value ? std::optional<std::string>(value) : std::nullopt);
      unsetenv(name);
    }
  }
  void TearDown() override {
    for (std::size_t i = 0; i < std::size(kNames); ++i) {
      if (saved_[i]) {
        setenv(kNames[i], saved_[i]->c_str(), 1);
      } else {
        unsetenv(kNames[i]);
      }
    }
  }
  static constexpr const char* kNames[] = {"LC_ALL", "LC_CTYPE", "LANG"};
  std::vector<std::optional<std::string>> saved_;
};

TEST_F(SystemEncodingEnvironmentTest, FirstSetVariableWins) {
  EXPECT_EQ(systemEncodingFromEnvironment(), kCFStringEncodingMacRoman);
  setenv("LANG", "ko_KR.UTF-8", 1);
  EXPECT_EQ(systemEncodingFromEnvironment(), kCFStringEncodingMacKorean);
  setenv("LC_CTYPE", "zh_TW.UTF-8", 1);
  EXPECT_EQ(systemEncodingFromEnvironment(), kCFStringEncodingMacChineseTrad);
  setenv("LC_ALL", "", 1);  // set but empty: skipped
  EXPECT_EQ(systemEncodingFromEnvironment(), kCFStringEncodingMacChineseTrad);
  setenv("LC_ALL", "ja_JP.UTF-8", 1);
  EXPECT_EQ(systemEncodingFromEnvironment(), kCFStringEncodingMacJapanese);
}

// ICU's own UTF-8 reader with substitution is the reference.
std::u16string icuFromUtf8(std::string_view utf8) {
  std::u16string out(utf8.size() + 1, u'\0');
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, utf8.data(),
                       static_cast<int32_t>(utf8.size()), 0xFFFD, nullptr, &status);
  EXPECT_TRUE(U_SUCCESS(status));
  out.resize(static_cast<std::size_t>(length));
  return out;
}

TEST(Utf8Test, InvalidInputBecomesReplacementCharacters) {
  const std::string inputs[] = {
      "plain",
      "Gr\xC3\xBC\xC3\x9F"
      "e",
      "\xF0\x9F\x98\x80",
      "\xC3",
      "a\xFF"
      "b",
      "\xED\xA0\x80",
      "\xC0\xAF",
      "\xF4\x90\x80\x80",
      "\xE6\x9D",
      "\xE6\x9D"
      "x",
      std::string("a\0b", 3),
  };
  for (const std::string& input : inputs) EXPECT_EQ(fromUtf8(input), icuFromUtf8(input)) << input;
  EXPECT_EQ(fromUtf8("a\xFF"
                     "b"),
            u"a\uFFFDb");
}

TEST(Utf8Test, ToUtf8ReplacesUnpairedSurrogates) {
  EXPECT_EQ(toUtf8(u"Gr\u00fc\u00dfe \U0001F600"),
            "Gr\xC3\xBC\xC3\x9F"
            "e \xF0\x9F\x98\x80");
  EXPECT_EQ(toUtf8(u"a\xD800"
                   u"b"),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(toUtf8(u"\xDC00"), "\xEF\xBF\xBD");
  EXPECT_EQ(toUtf8(std::u16string(u"a\0b", 3)), std::string("a\0b", 3));
  const std::u16string text = u"\u6771\u4eac \U0001F600 caf\u00e9";
  EXPECT_EQ(fromUtf8(toUtf8(text)), text);
}

TEST(CaseTest, FullCaseFolding) {
  struct Case {
    std::u16string a;
    std::u16string b;
    bool equal;
  };
  const Case cases[] = {
      {u"Folder", u"fOLDER", true},
      {u"STRASSE", u"stra\u00dfe", true},  // sharp s folds to "ss"
      {u"\ufb03", u"FFI", true},           // ligature ffi
      {u"\u0130", u"i\u0307", true},       // dotted capital I, default (non-Turkic) folding
      {u"\u03a3\u0391", u"\u03c3\u03b1", true},
      {u"\u00c9cole", u"\u00e9COLE", true},
      {u"e\u0301cole", u"\u00e9cole", false},  // no normalization
      {u"Folder", u"Folder ", false},
      {u"", u"", true},
      {u"a", u"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(equalsIgnoringCase(c.a, c.b), c.equal) << toUtf8(c.a) << " / " << toUtf8(c.b);
  }
}

}  // namespace
}  // namespace jc
