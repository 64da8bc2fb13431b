// The print-settings writer, entry by entry, against values computed straight
// from OpenSSL (AES-128-ECB, MD5, Base64) and byte strings written out by hand.
#include "settings/writer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "settings/print_settings_keys.h"
#include "support/openssl_reference.h"

namespace jc {
namespace {

using test::aesFixedKey;
using test::aesSpoolKey;
using test::base64;
using test::fixedKeyHex;
using test::md5Hex;
using test::upperHex;

constexpr const char* kT = "Sun, 6 Dec 2026 15:26:44 +0900";
const std::string kStandardHex = "2A7374616E64617264";  // "*standard"

std::string key(std::string_view suffix) {
  return std::string(keys::kPrefix) + std::string(suffix);
}

std::map<std::string, std::string> entries(const PrintSettings& settings) {
  std::map<std::string, std::string> all;
  for (int i = 0; i < settings.count(); ++i)
    all[settings.options()[i].name] = settings.options()[i].value;
  return all;
}

// One save into a print-settings object that persists between saves.
struct Job {
  PrintSettings out;
  WriterContext context;
  Job() { context.spoolTime = kT; }
  void save(const JobControlSettings& s) { writeJobControlEntries(s, out, context); }
  std::optional<std::string> operator[](std::string_view suffix) const {
    return out.value(key(suffix));
  }
};

// Every control of the fullest layout present, with the given texts.
JobControlSettings everyControl() {
  JobControlSettings s;
  s.retention = true;
  s.suspendRow = 0;
  s.suspendKey = u"";
  s.folderRow = 1;
  s.folderPopupIndex = 1;
  s.folderName = u"";
  s.folderPassword = u"";
  s.loginAuthentication = true;
  s.loginNameField = true;
  s.loginName = u"";
  s.password = u"";
  s.userNumber = u"";
  s.accountNumber = u"";
  s.userName = u"";
  s.jobName = u"";
  return s;
}

// ---------------------------------------------------------------------------
// A whole save: every key of the table, every value exact.

// Every control of the fullest layout, every field typed, the custom folder.
JobControlSettings everyFieldTyped() {
  JobControlSettings s = everyControl();
  s.suspendRow = 1;
  s.suspendKey = u"123";
  s.folderRow = 2;
  s.folderName = u"Caf\u00e9";
  s.folderPassword = u"97";
  s.loginName = u"operator";
  s.password = u"pa\u00dfword";  // ß: 0xA7 in Mac Roman, 0xDF in Windows Latin-1
  s.userNumber = u"4711";
  s.accountNumber = u"31415";
  s.userName = u"Ren\u00e9e";
  s.jobName = u"Q4 \"draft\"";
  s.holdMask = kHoldLoginName | kHoldUserName;
  return s;
}

TEST(WriterTest, FullSaveWritesEveryEntryExactly) {
  Job job;
  job.context.checkHardDisk = true;
  job.save(everyFieldTyped());

  const std::string T = kT;
  const std::map<std::string, std::string> expected = {
      {key("spoolTime"), upperHex(T)},
      {key("filing"), "3"},
      {key("folderPath"), "4361668E"},
      {key("folderPath2"), "436166E9"},
      {key("jobSuspend"), "1"},
      {key("jobSuspendKey"), md5Hex("00123" + T)},
      {key("jobSuspend2Key"), fixedKeyHex("123", 16)},
      {key("Authentication"), "1"},
      {key("loginName11"), base64(aesFixedKey("operator"))},
      {key("loginName01"), base64(aesSpoolKey(T, "operator"))},
      {key("password"), base64(aesSpoolKey(T, "pa\xA7word"))},
      {key("password2"), fixedKeyHex("pa\xA7word", 32)},
      {key("userNumber"), "04711"},
      {key("userNumber2"), fixedKeyHex("4711", 16)},
      {key("accountNumber"), "31415"},
      {key("accountNumber2"), fixedKeyHex("31415", 16)},
      {key("userName"), upperHex("Ren\x8E"
                                 "e")},
      {key("userName2"), upperHex("Ren\xE9"
                                  "e")},
      {key("jobName"), upperHex("Q4 \"draft\"")},
      {key("jobName2"), upperHex("Q4  draft ")},
      {key("folderPassword"), md5Hex(T + "00097")},
      {key("folderPassword2"), fixedKeyHex("97", 16)},
      {key("holdButton"), "10"},
  };
  EXPECT_EQ(entries(job.out), expected);
}

TEST(WriterTest, SameTextsGiveTheSameFixedKeyValuesButNewSpoolKeyValues) {
  JobControlSettings s = everyControl();
  s.loginName = u"operator";
  s.password = u"secret";
  Job first, second;
  second.context.spoolTime = "Sun, 6 Dec 2026 15:26:45 +0900";
  first.save(s);
  second.save(s);
  EXPECT_EQ(first["loginName11"], second["loginName11"]);
  EXPECT_EQ(first["password2"], second["password2"]);
  EXPECT_NE(first["loginName01"], second["loginName01"]);
  EXPECT_NE(first["password"], second["password"]);
  EXPECT_NE(first["spoolTime"], second["spoolTime"]);
}

// ---------------------------------------------------------------------------
// Storing values.

TEST(AsciiValueTest, EmptyAbsentOrNonAsciiValuesRemoveTheEntry) {
  PrintSettings settings;
  const std::string k = key("userName");
  for (const char* value : {static_cast<const char*>(nullptr), "", "caf\xE9"}) {
    settings.setValue(k, "stale");
    MyPMPrintSetAsciiCStrValue(&settings, k, value);
    EXPECT_FALSE(settings.value(k)) << (value ? value : "(null)");
  }
  MyPMPrintSetAsciiCStrValue(&settings, k, "414243");
  EXPECT_EQ(settings.value(k), "414243");
  MyPMPrintSetAsciiCStrValue(nullptr, k, "1");     // no settings: nothing to do
  MyPMPrintSetAsciiCStrValue(&settings, "", "1");  // no key: nothing stored
  EXPECT_EQ(settings.count(), 1);
}

TEST(ChunkedValueTest, SplitsIntoChunksOf254AndClearsTheNextChunk) {
  struct Case {
    std::size_t length;
    std::vector<std::size_t> chunks;
  };
  for (const Case& c : std::vector<Case>{{1, {1}},
                                         {254, {254}},
                                         {255, {254, 1}},
                                         {344, {254, 90}},
                                         {508, {254, 254}},
                                         {509, {254, 254, 1}}}) {
    PrintSettings settings;
    for (int i = 1; i <= 5; ++i) settings.setValue("p" + std::to_string(i), "stale");
    std::string value;
    for (std::size_t i = 0; i < c.length; ++i) value += char('A' + i % 26);
    MyMultiPMPrintSetAsciiCStrValue(&settings, "p", value.c_str());
    std::string joined;
    for (std::size_t i = 1; i <= c.chunks.size(); ++i) {
      const auto chunk = settings.value("p" + std::to_string(i));
      ASSERT_TRUE(chunk) << c.length << " chunk " << i;
      EXPECT_EQ(chunk->size(), c.chunks[i - 1]) << c.length << " chunk " << i;
      joined += *chunk;
    }
    EXPECT_EQ(joined, value);
    EXPECT_FALSE(settings.value("p" + std::to_string(c.chunks.size() + 1))) << c.length;
  }
}

TEST(ChunkedValueTest, AnEmptyValueRemovesTheFirstTwoChunks) {
  for (const char* value : {static_cast<const char*>(nullptr), ""}) {
    PrintSettings settings;
    settings.setValue("p1", "a");
    settings.setValue("p2", "b");
    MyMultiPMPrintSetAsciiCStrValue(&settings, "p", value);
    EXPECT_EQ(settings.count(), 0);
  }
}

TEST(ChunkedValueTest, RefusesEmptyAndOverlongPrefixes) {
  PrintSettings settings;
  MyMultiPMPrintSetAsciiCStrValue(&settings, "", "abc");
  MyMultiPMPrintSetAsciiCStrValue(&settings, std::string(99, 'k').c_str(), "abc");
  MyMultiPMPrintSetAsciiCStrValue(&settings, nullptr, "abc");
  MyMultiPMPrintSetAsciiCStrValue(nullptr, "p", "abc");
  EXPECT_EQ(settings.count(), 0);
  MyMultiPMPrintSetAsciiCStrValue(&settings, std::string(98, 'k').c_str(), "abc");
  EXPECT_EQ(settings.value(std::string(98, 'k') + "1"), "abc");
}

TEST(ReplaceSpaceCodeTest, BlanksControlCharactersAndQuotesButNotTabOrNul) {
  unsigned char bytes[256];
  for (int i = 0; i < 256; ++i) bytes[i] = static_cast<unsigned char>(i);
  ReplaceSpaceCode(bytes, 256);
  for (int i = 0; i < 256; ++i) {
    const bool blanked = (i >= 1 && i <= 8) || (i >= 0x0A && i <= 0x1F) || i == '"';
    EXPECT_EQ(bytes[i], blanked ? 0x20 : i) << "byte " << i;
  }
  unsigned char quote[] = {'"', '\n'};
  ReplaceSpaceCode(quote, 1);
  EXPECT_EQ(quote[0], ' ');
  EXPECT_EQ(quote[1], '\n');  // past the count
  ReplaceSpaceCode(quote + 1, 0);
  ReplaceSpaceCode(nullptr, 4);
  EXPECT_EQ(quote[1], '\n');
}

TEST(EncodingWindowsLatin1Test, OnlyTheCjkSystemEncodingsKeepTheirOwnBytes) {
  for (CFStringEncoding cjk : {1u, 2u, 3u, 25u}) EXPECT_FALSE(encodingWindowsLatin1(cjk)) << cjk;
  for (CFStringEncoding other : {0u, 4u, 24u, 26u, 0x0500u, 0x0A01u, 0x08000100u})
    EXPECT_TRUE(encodingWindowsLatin1(other)) << other;
}

// ---------------------------------------------------------------------------
// Spool time.

TEST(WriterTest, SpoolTimeIsTheHexOfTheWholeSpoolText) {
  for (const char* text : {"Sun, 6 Dec 2026 15:26:44 +0900", "Sun, 13 Dec 2026 02:56:44 -0330"}) {
    Job job;
    job.context.spoolTime = text;
    job.save(JobControlSettings{});
    EXPECT_EQ(job["spoolTime"], upperHex(text));
    EXPECT_EQ(job["spoolTime"]->size(), 2 * std::strlen(text));
  }
}

// ---------------------------------------------------------------------------
// Filing and folder paths.

struct FolderCase {
  const char* name;
  bool hardDisk;
  bool retention;
  std::optional<int> popupIndex;
  std::optional<int> matrixRow;
  std::u16string folderName;
  bool withFolderList;
  std::optional<std::string> filing, folderPath, folderPath2;
};

TEST(FolderTest, FilingDigitAndFolderPaths) {
  const std::vector<FolderCase> cases = {
      {"retention without folder control",
       true,
       true,
       {},
       {},
       u"",
       false,
       {},
       kStandardHex,
       kStandardHex},
      {"no folder control, retention off", true, false, {}, {}, u"", false, {}, {}, {}},
      {"no storage, retention on", false, true, 4, {}, u"", true, "0", kStandardHex, kStandardHex},
      {"storage, retention off", true, false, 4, {}, u"", true, "0", {}, {}},
      {"pop-up quick file", true, true, 0, {}, u"", false, "1", {}, {}},
      {"pop-up main folder", true, true, 1, {}, u"", false, "2", kStandardHex, kStandardHex},
      {"pop-up custom without folder list or matrix",
       true,
       true,
       3,
       {},
       u"",
       false,
       "3",
       kStandardHex,
       kStandardHex},
      {"folder from the folder list", true, true, 4, {}, u"", true, "3", "4361668E", "436166E9"},
      {"folder list entry out of range", true, true, 9, {}, u"", true, "3", {}, {}},
      {"matrix quick file", true, true, 1, 0, u"", false, "1", {}, {}},
      {"matrix main folder", true, true, 0, 1, u"", false, "2", kStandardHex, kStandardHex},
      {"matrix custom name", true, true, 0, 2, u"Scans", false, "3", "5363616E73", "5363616E73"},
      {"matrix custom, empty name", true, true, 0, 2, u"", false, "3", {}, {}},
      {"custom name in no encoding", true, true, 0, 2, u"\ud55c\uae00", false, "3", {}, {}},
      {"name only Mac Japanese holds", true, true, 0, 2, u"\u65e5\u672c", false, "3", "93FA967B",
       "93FA967B"},
      {"pop-up list wins over matrix", true, true, 3, 2, u"Scans", true, "3", "4A6F6273",
       "4A6F6273"},
  };
  const FolderList folders = {{u"Jobs"}, {u"Caf\u00e9"}};
  for (const FolderCase& c : cases) {
    JobControlSettings s = everyControl();
    s.retention = c.retention;
    s.folderPopupIndex = c.popupIndex;
    s.folderRow = c.matrixRow;
    s.folderName = c.folderName;
    Job job;
    job.context.checkHardDisk = c.hardDisk;
    job.context.folderList = c.withFolderList ? &folders : nullptr;
    job.out.setValue(key("folderPath"), "stale");
    job.out.setValue(key("folderPath2"), "stale");
    job.out.setValue(key("filing"), "9");
    job.save(s);
    EXPECT_EQ(job["filing"], c.filing) << c.name;
    EXPECT_EQ(job["folderPath"], c.folderPath) << c.name;
    EXPECT_EQ(job["folderPath2"], c.folderPath2) << c.name;
  }
}

TEST(FolderTest, FolderNameIsConvertedWholeOrNotAtAll) {
  JobControlSettings s = everyControl();
  s.folderRow = 2;
  s.folderName = std::u16string(255, u'f');
  Job job;
  job.context.checkHardDisk = true;
  job.save(s);
  EXPECT_EQ(job["folderPath"], upperHex(std::string(255, 'f')));
  s.folderName = std::u16string(256, u'f');
  job.save(s);
  EXPECT_EQ(job["filing"], "3");
  EXPECT_FALSE(job["folderPath"]);
  EXPECT_FALSE(job["folderPath2"]);
}

// ---------------------------------------------------------------------------
// Suspend mode and the job pass code.

TEST(SuspendTest, DigitFollowsTheSelectedRow) {
  struct Case {
    bool retention;
    int row;
    const char* digit;
    bool keys;
  };
  for (const Case& c :
       {Case{true, 0, "2", true}, Case{true, 1, "1", true}, Case{true, 2, "3", true},
        Case{true, -1, "0", false}, Case{false, 0, "0", false}, Case{false, 2, "0", false}}) {
    JobControlSettings s = everyControl();
    s.retention = c.retention;
    s.suspendRow = c.row;
    s.suspendKey = u"5";
    Job job;
    job.out.setValue(key("jobSuspendKey"), "stale");
    job.out.setValue(key("jobSuspend2Key"), "stale");
    job.save(s);
    EXPECT_EQ(job["jobSuspend"], c.digit) << c.retention << " row " << c.row;
    EXPECT_EQ(job["jobSuspendKey"].has_value(), c.keys) << c.retention << " row " << c.row;
    EXPECT_EQ(job["jobSuspend2Key"].has_value(), c.keys) << c.retention << " row " << c.row;
  }
}

TEST(SuspendTest, QuickFileOnTheOtherPlatformSuspendsNothing) {
  JobControlSettings s = everyControl();
  s.folderPopupIndex = 0;
  s.folderRow.reset();
  s.suspendRow = 2;
  s.suspendKey = u"1234";
  Job job;
  job.context.checkHardDisk = true;
  job.context.varnokSelvo = true;
  job.save(s);
  EXPECT_EQ(job["filing"], "1");
  EXPECT_EQ(job["jobSuspend"], "0");
  EXPECT_FALSE(job["jobSuspendKey"]);
  EXPECT_FALSE(job["jobSuspend2Key"]);

  s.folderPopupIndex = 1;  // main folder: the switch does not apply
  job.save(s);
  EXPECT_EQ(job["jobSuspend"], "3");
  EXPECT_EQ(job["jobSuspend2Key"], fixedKeyHex("1234", 16));
}

TEST(SuspendTest, MissingRetentionOrMatrixRemovesTheSuspendEntries) {
  for (int missing = 0; missing < 2; ++missing) {
    JobControlSettings s = everyControl();
    s.suspendKey = u"123";
    if (missing == 0)
      s.retention.reset();
    else
      s.suspendRow.reset();
    Job job;
    for (const char* k : {"jobSuspend", "jobSuspendKey", "jobSuspend2Key"})
      job.out.setValue(key(k), "1");
    job.save(s);
    EXPECT_FALSE(job["jobSuspend"]);
    EXPECT_FALSE(job["jobSuspendKey"]);
    EXPECT_FALSE(job["jobSuspend2Key"]);
  }
}

TEST(PassCodeTest, DigestPadsToFiveDigitsButTheCipherTakesTheCodeAsTyped) {
  struct Case {
    std::u16string typed;
    std::string used, padded;
  };
  for (const Case& c :
       {Case{u"7", "7", "00007"}, Case{u"1234", "1234", "01234"}, Case{u"12345", "12345", "12345"},
        Case{u"12345678", "12345678", "12345678"}, Case{u"123456789", "12345678", "12345678"}}) {
    JobControlSettings s = everyControl();
    s.suspendKey = c.typed;
    s.folderPassword = c.typed;
    Job job;
    job.save(s);
    EXPECT_EQ(job["jobSuspendKey"], md5Hex(c.padded + kT)) << c.used;
    EXPECT_EQ(job["jobSuspend2Key"], fixedKeyHex(c.used, 16)) << c.used;
    // The folder pass code puts the spool time first.
    EXPECT_EQ(job["folderPassword"], md5Hex(kT + c.padded)) << c.used;
    EXPECT_EQ(job["folderPassword2"], fixedKeyHex(c.used, 16)) << c.used;
  }
}

TEST(PassCodeTest, EmptyOrUnconvertibleCodesRemoveBothEntries) {
  for (const std::u16string& typed : {std::u16string(), std::u16string(u"\u65e5")}) {
    JobControlSettings s = everyControl();
    s.suspendKey = typed;
    s.folderPassword = typed;
    Job job;
    for (const char* k : {"jobSuspendKey", "jobSuspend2Key", "folderPassword", "folderPassword2"})
      job.out.setValue(key(k), "stale");
    job.save(s);
    for (const char* k : {"jobSuspendKey", "jobSuspend2Key", "folderPassword", "folderPassword2"})
      EXPECT_FALSE(job[k]) << k;
  }
}

// ---------------------------------------------------------------------------
// Login name.

TEST(LoginNameTest, SixteenBytesGiveOneChunkOf24CharactersEndingInPads) {
  JobControlSettings s = everyControl();
  s.loginName = u"0123456789abcdef";
  Job job;
  job.save(s);
  const std::string E = base64(aesFixedKey("0123456789abcdef"));
  ASSERT_EQ(E.size(), 24u);
  EXPECT_EQ(E.substr(22), "==");
  EXPECT_EQ(job["loginName11"], E);
  EXPECT_FALSE(job["loginName12"]);
  EXPECT_EQ(job["loginName01"], base64(aesSpoolKey(kT, "0123456789abcdef")));
  EXPECT_FALSE(job["loginName02"]);
}

TEST(LoginNameTest, SeventeenBytesGiveTwoCipherBlocks) {
  JobControlSettings s = everyControl();
  s.loginName = u"0123456789abcdefg";
  Job job;
  job.save(s);
  const std::string cipher = aesFixedKey("0123456789abcdefg");
  ASSERT_EQ(cipher.size(), 32u);
  // The second block is the 17th byte followed by fifteen zeros.
  EXPECT_EQ(cipher.substr(16), aesFixedKey("g"));
  EXPECT_EQ(job["loginName11"], base64(cipher));
  EXPECT_EQ(job["loginName11"]->size(), 44u);
}

TEST(LoginNameTest, TwoHundredFiftyFiveBytesGoIntoChunksOf254And90) {
  // The last character differs between Mac Roman (0x8E) and Windows Latin-1 (0xE9).
  JobControlSettings s = everyControl();
  s.loginName = std::u16string(254, u'n') + u"\u00e9";
  Job job;
  job.save(s);
  const std::string E = base64(aesFixedKey(std::string(254, 'n') + "\x8E"));
  const std::string E2 = base64(aesSpoolKey(kT, std::string(254, 'n') + "\xE9"));
  ASSERT_EQ(E.size(), 344u);
  EXPECT_EQ(job["loginName11"], E.substr(0, 254));
  EXPECT_EQ(job["loginName12"], E.substr(254));
  EXPECT_EQ(job["loginName12"]->size(), 90u);
  EXPECT_FALSE(job["loginName13"]);
  EXPECT_EQ(job["loginName01"], E2.substr(0, 254));
  EXPECT_EQ(job["loginName02"], E2.substr(254));

  s.loginName = std::u16string(300, u'n');  // cut to 255 bytes
  job.save(s);
  const std::string cut = base64(aesFixedKey(std::string(255, 'n')));
  EXPECT_EQ(*job["loginName11"] + *job["loginName12"], cut);
}

TEST(LoginNameTest, ANameTheSystemEncodingCannotHoldFallsBackToMacJapanese) {
  JobControlSettings s = everyControl();
  s.loginName = u"\u5c71\u7530";  // Shift JIS 8E 52 93 63
  Job job;
  job.save(s);
  EXPECT_EQ(job["loginName11"], base64(aesFixedKey("\x8E\x52\x93\x63")));
  // The Windows Latin-1 copy puts a space for each character it lacks.
  EXPECT_EQ(job["loginName01"], base64(aesSpoolKey(kT, "  ")));
}

TEST(LoginNameTest, ShorterAndClearedNamesLeaveNoStaleChunks) {
  JobControlSettings s = everyControl();
  s.loginName = std::u16string(255, u'x');
  Job job;
  job.save(s);
  ASSERT_TRUE(job["loginName12"]);
  ASSERT_TRUE(job["loginName02"]);

  s.loginName = u"short";
  job.save(s);
  EXPECT_EQ(job["loginName11"], base64(aesFixedKey("short")));
  EXPECT_FALSE(job["loginName12"]);
  EXPECT_FALSE(job["loginName02"]);

  // Cleared, held with nothing to hold, or a layout without the field: both
  // chunks of both families go.
  const std::pair<const char*, std::function<void(JobControlSettings&)>> clears[] = {
      {"cleared", [](JobControlSettings& c) { c.loginName = u""; }},
      {"nothing held", [](JobControlSettings& c) { c.loginName.reset(); }},
      {"no field",
       [](JobControlSettings& c) {
         c.loginNameField = false;
         c.loginName.reset();
       }},
  };
  for (const auto& [what, clear] : clears) {
    s.loginName = std::u16string(255, u'x');
    job.save(s);
    clear(s);
    job.save(s);
    for (const char* k : {"loginName11", "loginName12", "loginName01", "loginName02"})
      EXPECT_FALSE(job[k]) << what << ": " << k;
  }
}

// ---------------------------------------------------------------------------
// Password.

TEST(PasswordTest, SixteenAndSeventeenByteBlocks) {
  struct Case {
    std::u16string typed;
    std::string bytes;
    std::size_t base64Length;
  };
  for (const Case& c : {Case{u"0123456789abcdef", "0123456789abcdef", 24},
                        Case{u"0123456789abcdefg", "0123456789abcdefg", 44},
                        Case{std::u16string(40, u'w'), std::string(32, 'w'), 44}}) {
    JobControlSettings s = everyControl();
    s.password = c.typed;
    Job job;
    job.save(s);
    EXPECT_EQ(job["password"], base64(aesSpoolKey(kT, c.bytes))) << c.bytes;
    EXPECT_EQ(job["password"]->size(), c.base64Length) << c.bytes;
    EXPECT_EQ(job["password2"], fixedKeyHex(c.bytes, 32)) << c.bytes;
  }
  JobControlSettings s = everyControl();
  s.password = u"0123456789abcdef";
  Job job;
  job.save(s);
  EXPECT_EQ(job["password2"]->substr(32), std::string(32, '0'));
}

TEST(PasswordTest, AnUnrepresentableCharacterBecomesASpace) {
  JobControlSettings s = everyControl();
  s.password = u"ab\u65e5cd";
  Job job;
  job.save(s);
  EXPECT_EQ(job["password2"], fixedKeyHex("ab cd", 32));
  EXPECT_EQ(job["password"], base64(aesSpoolKey(kT, "ab cd")));
}

// ---------------------------------------------------------------------------
// User and account numbers.

TEST(NumberTest, PaddedDigitsAndTheCodeAsTyped) {
  struct Case {
    std::u16string typed;
    std::optional<std::string> userNumber, userCode, accountNumber, accountCode;
  };
  for (const Case& c : {
           Case{u"12", "00012", "12", "00012", "12"},
           Case{u"12345", "12345", "12345", "12345", "12345"},
           Case{u"123456", "123456", "123456", "12345", "12345"},
           Case{u"12345678", "12345678", "12345678", "12345", "12345"},
           Case{u"123456789", "12345678", "12345678", "12345", "12345"},
           Case{u"", {}, {}, {}, {}},
       }) {
    JobControlSettings s = everyControl();
    s.userNumber = c.typed;
    s.accountNumber = c.typed;
    Job job;
    job.save(s);
    const std::string typed(c.typed.begin(), c.typed.end());
    EXPECT_EQ(job["userNumber"], c.userNumber) << typed;
    EXPECT_EQ(job["userNumber2"],
              c.userCode ? std::optional(fixedKeyHex(*c.userCode, 16)) : std::nullopt)
        << typed;
    EXPECT_EQ(job["accountNumber"], c.accountNumber) << typed;
    EXPECT_EQ(job["accountNumber2"],
              c.accountCode ? std::optional(fixedKeyHex(*c.accountCode, 16)) : std::nullopt)
        << typed;
  }
}

// ---------------------------------------------------------------------------
// User and job names.

TEST(NameTest, SecondCopyBlanksQuotesAndLineBreaksOnly) {
  JobControlSettings s = everyControl();
  s.userName = u"Say \"hi\"\n\tnow";
  s.jobName =
      u"a\rb\x01"
      u"c";
  Job job;
  job.save(s);
  EXPECT_EQ(job["userName"], upperHex("Say \"hi\"\n\tnow"));
  EXPECT_EQ(job["userName2"], upperHex("Say  hi  \tnow"));
  EXPECT_EQ(job["jobName"], upperHex("a\rb\x01"
                                     "c"));
  EXPECT_EQ(job["jobName2"], upperHex("a b c"));
}

TEST(NameTest, EncodingsAndLimits) {
  struct Case {
    const char* what;
    std::u16string typed;
    std::optional<std::string> first, second;
  };
  const std::vector<Case> cases = {
      {"Latin letters", u"\u00c5sa \u20ac", "\x81sa \xDB", "\xC5sa \x80"},
      {"only Mac Japanese", u"\u65e5\u672c", "\x93\xFA\x96\x7B", "  "},
      {"system encoding stops at the first unrepresentable", u"ab\u65e5", "ab", "ab "},
      {"in no encoding", u"\ud55c", " ", " "},
      {"cut to 32 bytes", std::u16string(40, u'j'), std::string(32, 'j'), std::string(32, 'j')},
      {"empty", u"", {}, {}},
  };
  for (const Case& c : cases) {
    JobControlSettings s = everyControl();
    s.userName = c.typed;
    Job job;
    job.save(s);
    const auto hexOf = [](const std::optional<std::string>& b) -> std::optional<std::string> {
      if (!b || b->empty()) return std::nullopt;
      return upperHex(*b);
    };
    EXPECT_EQ(job["userName"], hexOf(c.first)) << c.what;
    EXPECT_EQ(job["userName2"], hexOf(c.second)) << c.what;
  }
}

// ---------------------------------------------------------------------------
// A CJK system encoding keeps its own bytes in the second copies.

TEST(CjkSystemTest, SecondCopiesAreTheSystemEncodingBytes) {
  JobControlSettings s = everyControl();
  s.folderRow = 2;
  s.folderName = u"\u8cc7\u6599";  // 8E 91 97 BF
  s.loginName = u"\u5c71\u7530";   // 8E 52 93 63
  s.userName = u"\u5c71\u7530\"";  // ... 22
  s.jobName = u"\u65e5\u672c";     // 93 FA 96 7B
  s.password = u"\u30d1\u30b9";    // 83 70 83 58
  Job job;
  job.context.checkHardDisk = true;
  job.context.systemEncoding = kCFStringEncodingMacJapanese;
  job.save(s);
  EXPECT_EQ(job["folderPath"], "8E9197BF");
  EXPECT_EQ(job["folderPath2"], "8E9197BF");
  EXPECT_EQ(job["loginName11"], base64(aesFixedKey("\x8E\x52\x93\x63")));
  EXPECT_EQ(job["loginName01"], base64(aesSpoolKey(kT, "\x8E\x52\x93\x63")));
  EXPECT_EQ(job["userName"], "8E52936322");
  EXPECT_EQ(job["userName2"], "8E52936320");
  EXPECT_EQ(job["jobName"], "93FA967B");
  EXPECT_EQ(job["jobName2"], "93FA967B");
  EXPECT_EQ(job["password2"], fixedKeyHex("\x83\x70\x83\x58", 32));
}

// ---------------------------------------------------------------------------
// Missing controls and the hold mask.

TEST(MissingControlTest, ALayoutWithoutControlsKeepsOnlySpoolTimeAndHoldMask) {
  // A full save first, so that every removal shows.
  JobControlSettings full = everyFieldTyped();
  full.loginName = std::u16string(255, u'l');  // two chunks of each family
  Job job;
  job.context.checkHardDisk = true;
  job.save(full);
  ASSERT_EQ(entries(job.out).size(), 25u);

  job.save(JobControlSettings{});
  EXPECT_EQ(entries(job.out), (std::map<std::string, std::string>{{key("spoolTime"), upperHex(kT)},
                                                                  {key("holdButton"), "0"}}));
}

TEST(HoldMaskTest, DecimalTextOfTheMask) {
  for (std::uint32_t mask : {0u, 1u, 256u, kHoldAll}) {
    JobControlSettings s;
    s.holdMask = mask;
    Job job;
    job.save(s);
    EXPECT_EQ(job["holdButton"], std::to_string(mask));
  }
}

}  // namespace
}  // namespace jc
