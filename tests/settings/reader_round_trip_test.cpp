// The writer's entries read back into the settings record, without a panel:
// every field in every form, in each system encoding the writer converts to.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "settings/reader.h"
#include "settings/writer.h"
#include "support/case_names.h"

namespace jc {
namespace {

constexpr const char* kT = "Sun, 6 Dec 2026 15:26:44 +0900";
const FolderList kFolders = {{u"Scans", false, false, false}, {u"Archiv", true, false, false}};

enum class Folders { Both, PopUpOnly, MatrixOnly };

// Every field typed, the custom folder of the matrix, nothing held.
JobControlSettings typed(Folders folders = Folders::Both) {
  JobControlSettings s;
  s.retention = true;
  s.suspendRow = 1;
  s.suspendKey = u"1234";
  if (folders != Folders::MatrixOnly) s.folderPopupIndex = 1;
  if (folders != Folders::PopUpOnly) {
    s.folderRow = 2;
    s.folderName = u"Projekt \u00dc";
  }
  s.folderPassword = u"97";
  s.loginAuthentication = true;
  s.loginNameField = true;
  s.loginName = u"J\u00fcrgen";
  s.password = u"P\u00e4ssw\u00f6rd";
  s.userNumber = u"00042";
  s.accountNumber = u"31415";
  s.userName = u"Zo\u00eb \u00c5kesson";
  s.jobName = u"R\u00e9sum\u00e9";
  return s;
}

struct RoundTripCase {
  const char* what;
  JobControlSettings written;
  // How what is read differs from what was written; nothing when alike.
  std::function<void(JobControlSettings&)> readsBack = [](JobControlSettings&) {};
  CFStringEncoding encoding = kCFStringEncodingMacRoman;
  std::int64_t passwordMax = 5;
  Folders folders = Folders::Both;
};
void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.what; }

template <class F>
RoundTripCase with(const char* what, F change, Folders folders = Folders::Both) {
  RoundTripCase c{what, typed(folders)};
  change(c.written);
  c.folders = folders;
  return c;
}

std::vector<RoundTripCase> cases() {
  std::vector<RoundTripCase> all;
  all.push_back(with("hold only, every value held", [](JobControlSettings& s) {
    s.suspendRow = 0;
    s.holdMask = kHoldAll;
  }));
  all.push_back(with("hold after", [](JobControlSettings&) {}));
  all.push_back(with("sample print", [](JobControlSettings& s) { s.suspendRow = 2; }));
  RoundTripCase off = with("retention off", [](JobControlSettings& s) { s.retention = false; });
  off.readsBack = [](JobControlSettings& s) {
    s.suspendRow = 0;
    s.suspendKey = u"";
    s.folderPopupIndex = 1;
    s.folderRow = 1;
    s.folderName.reset();  // the field is left as it is
  };
  all.push_back(off);
  all.push_back(with("user number sign-in", [](JobControlSettings& s) {
    s.loginAuthentication = false;
    s.holdMask = kHoldUserNumber | kHoldLoginName;
  }));
  RoundTripCase quick = with("quick file", [](JobControlSettings& s) { s.folderRow = 0; });
  quick.readsBack = [](JobControlSettings& s) {
    s.folderPopupIndex = 0;
    s.folderName.reset();
  };
  all.push_back(quick);
  RoundTripCase main = with("main folder", [](JobControlSettings& s) { s.folderRow = 1; });
  main.readsBack = [](JobControlSettings& s) { s.folderName.reset(); };
  all.push_back(main);
  // A typed name that a device folder has, up to case, selects that folder.
  RoundTripCase named = with("custom folder named like a device folder", [](JobControlSettings& s) {
    s.folderName = u"ARCHIV";
    s.holdMask = kHoldFolderName;
  });
  named.readsBack = [](JobControlSettings& s) { s.folderPopupIndex = 4; };
  all.push_back(named);
  all.push_back(with(
      "device folder from the pop-up", [](JobControlSettings& s) { s.folderPopupIndex = 4; },
      Folders::PopUpOnly));
  all.push_back(with(
      "quick file from the pop-up", [](JobControlSettings& s) { s.folderPopupIndex = 0; },
      Folders::PopUpOnly));
  all.push_back(with(
      "main folder from the pop-up", [](JobControlSettings& s) { s.holdMask = kHoldFolderName; },
      Folders::PopUpOnly));
  all.push_back(with(
      "custom folder without a pop-up", [](JobControlSettings&) {}, Folders::MatrixOnly));

  // Empty texts remove their entries: the held marks of missing entries and
  // the empty custom folder do not come back; the user name falls back.
  RoundTripCase empty = with("every text empty, every value held", [](JobControlSettings& s) {
    for (Present<std::u16string>* text :
         {&s.suspendKey, &s.folderName, &s.folderPassword, &s.loginName, &s.password, &s.userNumber,
          &s.accountNumber, &s.userName, &s.jobName})
      *text = u"";
    s.holdMask = kHoldAll;
  });
  empty.readsBack = [](JobControlSettings& s) {
    s.folderPopupIndex = 1;
    s.folderRow = 1;
    s.folderName.reset();
    s.userName = u"Full Name";
    s.holdMask = kHoldLoginName | kHoldFolderName;
  };
  all.push_back(empty);

  // Every field at its byte limit, and past it: cut to the limit.
  RoundTripCase longest = with("longest values", [](JobControlSettings& s) {
    s.suspendKey = u"123456789";
    s.folderName = std::u16string(255, u'\u00e9');
    s.folderPassword = u"876543210";
    s.loginName = std::u16string(255, u'\u00fc');
    s.password = std::u16string(40, u'w');
    s.userNumber = u"123456789";
    s.accountNumber = u"54321987";
    s.userName = std::u16string(40, u'\u00df');
    s.jobName = std::u16string(40, u'j');
    s.holdMask = kHoldAll;
  });
  longest.passwordMax = 8;
  longest.readsBack = [](JobControlSettings& s) {
    s.suspendKey = u"12345678";
    s.folderPassword = u"87654321";
    s.password = std::u16string(32, u'w');
    s.userNumber = u"12345678";
    s.accountNumber = u"54321";
    s.userName = std::u16string(32, u'\u00df');
    s.jobName = std::u16string(32, u'j');
  };
  all.push_back(longest);
  all.push_back(with("sixteen-byte login name and password", [](JobControlSettings& s) {
    s.loginName = u"exactly16bytes!!";
    s.password = std::u16string(16, u'\u00d6');
  }));

  // Names and secrets in the system encodings of East Asian systems.
  const struct {
    const char* what;
    CFStringEncoding encoding;
    std::u16string name;
  } asian[] = {
      {"Mac Japanese", kCFStringEncodingMacJapanese, u"\u5c71\u7530\u592a\u90ce"},
      {"Mac traditional Chinese", kCFStringEncodingMacChineseTrad, u"\u5831\u544a\u66f8"},
      {"Mac Korean", kCFStringEncodingMacKorean, u"\ud64d\uae38\ub3d9"},
      {"Mac simplified Chinese", kCFStringEncodingMacChineseSimp, u"\u62a5\u544a\u4e66"},
  };
  for (const auto& a : asian) {
    RoundTripCase c = with(a.what, [&](JobControlSettings& s) {
      for (Present<std::u16string>* text :
           {&s.folderName, &s.loginName, &s.password, &s.userName, &s.jobName})
        *text = a.name;
      s.holdMask = kHoldUserName | kHoldJobName;
    });
    c.encoding = a.encoding;
    all.push_back(c);
  }
  return all;
}

ReaderLayout layoutOf(Folders folders) {
  ReaderLayout layout;
  layout.folderSelectionPopup = folders != Folders::MatrixOnly;
  layout.folderSelectionMatrix = folders != Folders::PopUpOnly;
  layout.folderNameEditText = folders != Folders::PopUpOnly;
  return layout;
}

void expectSame(const JobControlSettings& read, const JobControlSettings& expected) {
#define JC_EXPECT_FIELD(f) EXPECT_EQ(read.f, expected.f) << #f
  JC_EXPECT_FIELD(retention);
  JC_EXPECT_FIELD(suspendRow);
  JC_EXPECT_FIELD(suspendKey);
  JC_EXPECT_FIELD(folderRow);
  JC_EXPECT_FIELD(folderPopupIndex);
  JC_EXPECT_FIELD(folderName);
  JC_EXPECT_FIELD(folderPassword);
  JC_EXPECT_FIELD(loginAuthentication);
  JC_EXPECT_FIELD(loginNameField);
  JC_EXPECT_FIELD(loginName);
  JC_EXPECT_FIELD(password);
  JC_EXPECT_FIELD(userNumber);
  JC_EXPECT_FIELD(accountNumber);
  JC_EXPECT_FIELD(userName);
  JC_EXPECT_FIELD(jobName);
  JC_EXPECT_FIELD(holdMask);
#undef JC_EXPECT_FIELD
}

class ReaderRecordRoundTripTest : public testing::TestWithParam<RoundTripCase> {};

TEST_P(ReaderRecordRoundTripTest, ReadsBackWhatWasWritten) {
  const RoundTripCase& c = GetParam();
  PrintSettings entries;
  WriterContext writer;
  writer.spoolTime = kT;
  writer.checkHardDisk = true;
  writer.systemEncoding = c.encoding;
  writer.folderList = &kFolders;
  writeJobControlEntries(c.written, entries, writer);

  ReaderContext reader;
  reader.layout = layoutOf(c.folders);
  reader.textEncoding = CFStringConvertEncodingToNSStringEncoding(c.encoding);
  reader.systemEncoding = c.encoding;
  reader.passwordMax = c.passwordMax;
  reader.fullUserName = u"Full Name";
  reader.folderList = &kFolders;
  const JobControlReading read = readJobControlEntries(entries, reader);

  JobControlSettings expected = c.written;
  c.readsBack(expected);
  expectSame(read.settings, expected);
  EXPECT_EQ(read.presetHoldMask, c.written.holdMask);
}

INSTANTIATE_TEST_SUITE_P(Forms, ReaderRecordRoundTripTest, testing::ValuesIn(cases()),
                         test::NameFromWhat{});

}  // namespace
}  // namespace jc
