// Recorded dialogs whose print-settings entries must not change: a few hundred
// users' choices (every hold mode, folder kind, sign-in mode and lock, five
// PPDs in four encodings, names outside ASCII) typed into a panel, saved, and
// opened again. What each case writes, minus the entries that depend on the
// spool time (checked by the writer's own tests), and what the next dialog
// shows are compared with tests/data/golden/entries.txt.
//
// JC_GOLDEN_REWRITE=1 rewrites the file from the current code.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "settings/print_settings_keys.h"
#include "support/file_text.h"
#include "support/panel_states.h"

namespace jc::test {
namespace {

constexpr int kCaseCount = 320;

const std::array<const char*, 5> kPpds = {"", "encoding_ISOLatin1.ppd", "encoding_JIS83-RKSJ.ppd",
                                          "encoding_UTF-8.ppd", "encoding_WindowsANSI.ppd"};
const std::array<CFStringEncoding, 3> kSystemEncodings = {
    kCFStringEncodingMacRoman, kCFStringEncodingMacJapanese, kCFStringEncodingMacKorean};

enum class Folder { Quick, Main, Custom, PrinterFolder, LockedPrinterFolder };
constexpr int kFolderKinds = 5;

// Texts per script: ASCII, Latin-1, Japanese; the last one past every limit.
struct Texts {
  std::u16string code, name, login, password, folder;
};
const std::array<Texts, 4> kTexts = {
    Texts{u"1234", u"Ann Lee", u"alee", u"secret", u"Projects"},
    Texts{u"97", u"Zo\u00eb \u00c5kesson", u"J\u00fcrgen", u"P\u00e4ssw\u00f6rd",
          u"Projekt \u00dc"},
    Texts{u"55555", u"\u5c71\u7530 \u592a\u90ce", u"\u3084\u307e\u3060", u"\u79d8\u5bc6",
          u"\u6587\u66f8"},
    Texts{u"123456789", std::u16string(40, u'\u00df'), std::u16string(300, u'l'),
          std::u16string(40, u'w'), std::u16string(260, u'\u00e9')}};

const FolderList kFolders = {{u"Scans", false, false, false},
                             {u"\u4f1a\u8b70 Archiv", true, false, false}};

const std::array<const char*, 9> kHoldBoxes = {
    "suspendKeyButton", "loginNameButton",     "passwordButton",
    "userNameButton",   "jobNameButton",       "folderPasswordButton",
    "userNumberButton", "accountNumberButton", "folderNameButton"};

// What the next dialog shows: every outlet the panel connects.
const std::array<const char*, 30> kShown = {"retentionCheckBox",
                                            "suspendMatrix",
                                            "suspendKeyEditText",
                                            "suspendKeyButton",
                                            "folderSelectionPopup",
                                            "folderPasswordEditText",
                                            "folderPasswordButton",
                                            "folderSelectionMatrix",
                                            "folderNameEditText",
                                            "folderNameButton",
                                            "authenticationMatrix",
                                            "loginNameEditText",
                                            "loginNameButton",
                                            "passwordEditText",
                                            "passwordButton",
                                            "userNumberEditText",
                                            "userNumberButton",
                                            "accountNumberEditText",
                                            "accountNumberButton",
                                            "userNameEditText",
                                            "userNameButton",
                                            "jobNameEditText",
                                            "jobNameButton",
                                            "suspendKeyStaticText",
                                            "folderSelectionStaticText",
                                            "folderPasswordStaticText",
                                            "loginNameStaticText",
                                            "passwordStaticText",
                                            "accountNumberStaticText",
                                            "printersAddressEditText"};

struct GoldenCase {
  int number = 0;
  const char* ppd = "";
  CFStringEncoding systemEncoding = kCFStringEncodingMacRoman;
  int uiMode = 2;
  bool hardDisk = false;
  bool varnokSelvo = false;
  int passwordMax = 5;
  int holdMode = 0;  // 0 retention off, else the suspend matrix row + 1
  Folder folder = Folder::Main;
  bool userNumberSignIn = false;
  std::uint32_t locks = 0;
  int texts = 0;
  bool folderList = false;
  std::string jobTitle;
};

// A mixed-radix walk over the dimensions, so that every value of each one
// comes with many values of the others.
GoldenCase goldenCase(int n) {
  std::uint64_t x = std::uint64_t(n) * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull;
  auto pick = [&x](std::uint64_t size) {
    x ^= x >> 29;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 32;
    return int(x % size);
  };
  GoldenCase c;
  c.number = n;
  c.ppd = kPpds[std::size_t(n % 5)];
  c.holdMode = (n / 5) % 4;
  c.folder = Folder((n / 20) % kFolderKinds);
  c.uiMode = 1 + pick(5);
  c.systemEncoding = kSystemEncodings[std::size_t(pick(3))];
  c.hardDisk = pick(4) != 0;
  c.varnokSelvo = pick(5) == 0;
  c.passwordMax = pick(2) ? 8 : 5;
  c.userNumberSignIn = pick(2) != 0;
  const int lockKind = pick(4);
  c.locks = lockKind == 0 ? 0u : lockKind == 1 ? 511u : (1u << pick(9)) | (1u << pick(9));
  c.texts = pick(int(kTexts.size()));
  c.folderList = c.folder >= Folder::PrinterFolder || pick(2) != 0;
  c.jobTitle = pick(3) == 0 ? "" : pick(2) ? "Report.pdf" : "\xe5\xa0\xb1\xe5\x91\x8a.pdf";
  return c;
}

std::string describe(const GoldenCase& c) {
  std::ostringstream os;
  os << "case " << c.number << ": ppd " << (*c.ppd ? c.ppd : "Sample_MFP.ppd") << ", system "
     << c.systemEncoding << ", layout " << c.uiMode << ", disk " << c.hardDisk << ", varnok "
     << c.varnokSelvo << ", digits " << c.passwordMax << ", hold " << c.holdMode << ", folder "
     << int(c.folder) << ", user number " << c.userNumberSignIn << ", locks " << c.locks
     << ", texts " << c.texts << ", folders " << c.folderList << ", title \"" << c.jobTitle << "\"";
  return os.str();
}

void setUp(PanelFixture& f, const GoldenCase& c) {
  if (*c.ppd) f.host.ppd = openPpd(testDataPath(std::string("ppd/") + c.ppd));
  f.env.systemEncoding = c.systemEncoding;
  f.env.capabilities.hardDisk = c.hardDisk;
  f.env.capabilities.varnokSelvo = c.varnokSelvo;
  f.env.capabilities.passwordMax = c.passwordMax;
  if (!c.jobTitle.empty()) f.host.settings.setJobName(c.jobTitle);
}

// The gestures of one case; a control the layout lacks or greys is passed by.
void act(PanelFixture& f, const GoldenCase& c) {
  HeadlessView& view = *f.view();
  auto control = [&view](const char* name) { return view.control(name); };
  auto type = [&](const char* name, const std::u16string& text) {
    if (HeadlessControl* field = control(name)) {
      field->userClear();
      field->userType(text);
    }
  };
  const Texts& t = kTexts[std::size_t(c.texts)];
  if (HeadlessControl* box = control("retentionCheckBox"); box && c.holdMode != 0) box->userClick();
  if (HeadlessControl* matrix = control("suspendMatrix"); matrix && c.holdMode != 0)
    matrix->userSelectRow(c.holdMode - 1);
  HeadlessControl* popUp = control("folderSelectionPopup");
  HeadlessControl* folderMatrix = control("folderSelectionMatrix");
  switch (c.folder) {
    case Folder::Quick:
    case Folder::Main:
    case Folder::Custom: {
      const int row = int(c.folder);
      if (folderMatrix) folderMatrix->userSelectRow(row);
      if (popUp && row < 2) popUp->userSelectItem(row);
      break;
    }
    case Folder::PrinterFolder:
    case Folder::LockedPrinterFolder:
      if (popUp) popUp->userSelectItem(c.folder == Folder::PrinterFolder ? 3 : 4);
      if (folderMatrix && !popUp) folderMatrix->userSelectRow(2);
      break;
  }
  type("suspendKeyEditText", t.code);
  type("folderNameEditText", t.folder);
  type("folderPasswordEditText", t.code.substr(0, 4));
  if (HeadlessControl* auth = control("authenticationMatrix"))
    auth->userSelectRow(c.userNumberSignIn ? 1 : 0);
  type("loginNameEditText", t.login);
  type("passwordEditText", t.password);
  type("userNumberEditText", t.code);
  type("accountNumberEditText", t.code.substr(1));
  type("userNameEditText", t.name);
  type("jobNameEditText", t.name.substr(0, 3) + u" job");
  for (std::size_t bit = 0; bit < kHoldBoxes.size(); ++bit)
    if (HeadlessControl* box = control(kHoldBoxes[bit]); box && (c.locks & (1u << bit)))
      box->userSetState(1);
}

bool spoolBound(const std::string& key) {
  const std::string loginName0(keys::kLoginName0Prefix);
  return key == keys::kSpoolTime || key == keys::kJobSuspendKey || key == keys::kPassword ||
         key == keys::kFolderPassword || key.rfind(loginName0, 0) == 0;
}

std::string entriesOf(const PrintSettings& settings) {
  std::map<std::string, std::string> sorted;
  for (int i = 0; i < settings.count(); ++i)
    sorted[settings.options()[i].name] = settings.options()[i].value;
  std::string out;
  for (const auto& [key, value] : sorted)
    if (!spoolBound(key)) out += "  entry " + key + " = " + value + "\n";
  return out;
}

std::string shownOf(const HeadlessView& view) {
  std::string out;
  for (const char* name : kShown) {
    const HeadlessControl* c = view.control(name);
    if (!c) continue;
    out += std::string("  shown ") + name + (c->isShownEnabled() ? " on" : " off");
    switch (c->kind()) {
      case ControlKind::RadioMatrix:
        out += " row " + std::to_string(c->selectedRow());
        break;
      case ControlKind::PopUp:
        out += " item " + std::to_string(c->indexOfSelectedItem()) + " of " +
               std::to_string(c->numberOfItems());
        break;
      case ControlKind::CheckBox:
        out += " state " + std::to_string(c->state());
        break;
      default:
        out += " \"" + toUtf8(c->stringValue()) + "\"";
        break;
    }
    out += "\n";
  }
  return out;
}

// One case's record: its entries after the save, and the next dialog's
// controls after it opens on those entries and the stored preferences.
std::string record(const GoldenCase& c) {
  PanelFixture f;
  setUp(f, c);
  openPanel(f, c.uiMode, c.folderList ? std::optional(kFolders) : std::nullopt);
  act(f, c);
  f.panel->shouldPrint();
  std::string out = describe(c) + "\n" + entriesOf(f.host.settings);
  openPanel(f, c.uiMode, c.folderList ? std::optional(kFolders) : std::nullopt);
  out += shownOf(*f.view());
  f.panel->shouldPrint();
  out += "  again\n" + entriesOf(f.host.settings);
  return out;
}

std::filesystem::path goldenFile() { return testDataPath("golden/entries.txt"); }

// The recorded blocks by their first line.
std::map<std::string, std::string> recordedBlocks(const std::string& text) {
  std::map<std::string, std::string> blocks;
  std::istringstream in(text);
  std::string line, head;
  while (std::getline(in, line)) {
    if (line.rfind("case ", 0) == 0) head = line.substr(0, line.find(':'));
    blocks[head] += line + "\n";
  }
  return blocks;
}

TEST(GoldenEntries, EveryRecordedDialogWritesAndShowsTheSame) {
  std::string all;
  for (int n = 0; n < kCaseCount; ++n) all += record(goldenCase(n));
  if (const char* rewrite = ::getenv("JC_GOLDEN_REWRITE"); rewrite && *rewrite == '1') {
    std::filesystem::create_directories(goldenFile().parent_path());
    writeFile(goldenFile(), all);
    GTEST_SKIP() << "rewrote " << goldenFile();
  }
  const std::optional<std::string> recorded = readFileIfAny(goldenFile());
  ASSERT_TRUE(recorded) << "no " << goldenFile();
  const auto expected = recordedBlocks(*recorded);
  const auto actual = recordedBlocks(all);
  ASSERT_EQ(expected.size(), std::size_t(kCaseCount));
  for (const auto& [head, block] : actual) {
    const auto it = expected.find(head);
    ASSERT_NE(it, expected.end()) << head;
    EXPECT_EQ(block, it->second) << head;
  }
}

// The walk reaches every value of every dimension, so that the record covers
// what its name says.
TEST(GoldenEntries, CasesCoverEveryKind) {
  std::set<std::string> seen;
  for (int n = 0; n < kCaseCount; ++n) {
    const GoldenCase c = goldenCase(n);
    seen.insert("ppd " + std::string(c.ppd));
    seen.insert("system " + std::to_string(c.systemEncoding));
    seen.insert("layout " + std::to_string(c.uiMode));
    seen.insert("hold " + std::to_string(c.holdMode));
    seen.insert("folder " + std::to_string(int(c.folder)));
    seen.insert("sign-in " + std::to_string(c.userNumberSignIn));
    seen.insert("texts " + std::to_string(c.texts));
    for (int bit = 0; bit < 9; ++bit)
      if (c.locks & (1u << bit)) seen.insert("lock " + std::to_string(bit));
    seen.insert(std::string("disk ") + (c.hardDisk ? "on" : "off"));
  }
  EXPECT_EQ(seen.size(), 5u + 3u + 5u + 4u + 5u + 2u + 4u + 9u + 2u);
}

}  // namespace
}  // namespace jc::test
