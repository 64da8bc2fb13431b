// The text conversions of a save, and the single conversions they are made of.
#include <benchmark/benchmark.h>

#include <optional>
#include <string>

#include "platform/text.h"

namespace jc {
namespace {

struct TypedFields {
  std::u16string folderName;
  std::u16string passCode;
  std::u16string loginName;
  std::u16string password;
  std::u16string userNumber;
  std::u16string accountNumber;
  std::u16string userName;
  std::u16string jobName;
  std::u16string folderPassCode;
};

const TypedFields kLatinFields{u"Projekte Fr\u00fchjahr",
                               u"12345",
                               u"h.m\u00fcller",
                               u"s3cr\u00e9t-pass",
                               u"4711",
                               u"12345678",
                               u"Hanna M\u00fcller",
                               u"Quartalsbericht \u00dcbersicht.pdf",
                               u"8642"};
const TypedFields kJapaneseFields{
    u"\u55b6\u696d\u90e8\u5171\u6709",
    u"12345",
    u"\u5c71\u7530\u592a\u90ce",
    u"password",
    u"4711",
    u"12345678",
    u"\u5c71\u7530 \u592a\u90ce",
    u"\u56db\u534a\u671f\u5831\u544a\u66f8\uff08\u6700\u7d42\u7248\uff09.pdf",
    u"8642"};

// The conversions one save makes: the system encoding first, the Mac Japanese
// fallback where the first one gives nothing, and the Windows Latin-1 copies
// unless the system encoding is a CJK one.
std::size_t saveConversions(const TypedFields& f, CFStringEncoding system) {
  const bool latinCopies =
      system != kCFStringEncodingMacJapanese && system != kCFStringEncodingMacChineseTrad &&
      system != kCFStringEncodingMacKorean && system != kCFStringEncodingMacChineseSimp;
  std::size_t total = 0;
  auto withFallback = [&](const std::u16string& text, std::size_t maxBytes) {
    std::string bytes = convertLossless(text, system, maxBytes, maxBytes);
    if (bytes.empty()) bytes = convertLossy(text, kCFStringEncodingMacJapanese, maxBytes, maxBytes);
    total += bytes.size();
  };
  auto latinCopy = [&](const std::u16string& text, std::size_t maxBytes) {
    if (latinCopies) {
      total += convertLossy(text, kCFStringEncodingWindowsLatin1, maxBytes, maxBytes).size();
    }
  };
  std::optional<std::string> folder = convertCString(f.folderName, system);
  if (!folder) folder = convertCString(f.folderName, kCFStringEncodingMacJapanese);
  if (latinCopies) {
    if (auto latin = convertCString(f.folderName, kCFStringEncodingWindowsLatin1)) folder = latin;
  }
  total += folder ? folder->size() : 0;
  total += convertLossless(f.passCode, system, 8, 8).size();
  withFallback(f.loginName, 255);
  latinCopy(f.loginName, 255);
  total += convertLossy(f.password, system, 32, 32).size();
  total += convertLossless(f.userNumber, system, 8, 8).size();
  total += convertLossless(f.accountNumber, system, 8, 5).size();
  withFallback(f.userName, 32);
  latinCopy(f.userName, 32);
  withFallback(f.jobName, 32);
  latinCopy(f.jobName, 32);
  total += convertLossless(f.folderPassCode, system, 8, 8).size();
  return total;
}

void BM_SaveConversionsMacRoman(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(saveConversions(kLatinFields, kCFStringEncodingMacRoman));
  }
}
BENCHMARK(BM_SaveConversionsMacRoman);

void BM_SaveConversionsMacJapanese(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(saveConversions(kJapaneseFields, kCFStringEncodingMacJapanese));
  }
}
BENCHMARK(BM_SaveConversionsMacJapanese);

// Japanese text on a Mac Roman system: every field falls back to Mac Japanese.
void BM_SaveConversionsFallback(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(saveConversions(kJapaneseFields, kCFStringEncodingMacRoman));
  }
}
BENCHMARK(BM_SaveConversionsFallback);

void BM_LosslessAscii255(benchmark::State& state) {
  const std::u16string text(255, u'n');
  for (auto _ : state) {
    benchmark::DoNotOptimize(convertLossless(text, kCFStringEncodingMacRoman, 255, 255));
  }
}
BENCHMARK(BM_LosslessAscii255);

void BM_LossyShiftJis127(benchmark::State& state) {
  const std::u16string text(127, u'\u3042');
  for (auto _ : state) {
    benchmark::DoNotOptimize(convertLossy(text, kCFStringEncodingShiftJIS, 255, 255));
  }
}
BENCHMARK(BM_LossyShiftJis127);

void BM_DecodeShiftJis32(benchmark::State& state) {
  const std::string bytes =
      convertLossless(std::u16string(16, u'\u3042'), kCFStringEncodingShiftJIS, 32, 32);
  for (auto _ : state) {
    benchmark::DoNotOptimize(decodeBytes(bytes, kCFStringEncodingShiftJIS));
  }
}
BENCHMARK(BM_DecodeShiftJis32);

}  // namespace
}  // namespace jc

BENCHMARK_MAIN();
