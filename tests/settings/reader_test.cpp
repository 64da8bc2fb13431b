#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/text.h"
#include "prefs/plist_values.h"
#include "support/openssl_reference.h"
#include "support/panel_fixture.h"

namespace jc::test {
namespace {

std::string key(const char* name) { return std::string("korvel.print.PrintSettings.") + name; }

const std::vector<const char*> kHoldBoxes = {
    "suspendKeyButton", "loginNameButton",      "passwordButton",
    "userNumberButton", "accountNumberButton",  "userNameButton",
    "jobNameButton",    "folderPasswordButton", "folderNameButton"};

// The control by outlet name, or null when the layout lacks it.
HeadlessControl* maybe(PanelFixture& f, const char* name) { return f.view()->control(name); }

// Opens the panel of layout `uiMode` on the print settings the fixture holds.
KorvelPrintPdeVx418JC& openMode(PanelFixture& f, int uiMode,
                                const std::optional<FolderList>& folders = std::nullopt) {
  f.env.capabilities.uiMode = uiMode;
  KorvelPrintPdeVx418JC& panel = f.make();
  if (folders) panel.folderList = folders;
  panel.panelView();
  panel.willShow();
  panel.restoreValuesAndReturnError(nullptr);
  return panel;
}

// Stores held values the way a print of an earlier dialog leaves them.
void seedHeldPreferences(PanelFixture& f, std::uint32_t mask,
                         const std::vector<std::pair<const char*, std::string>>& values,
                         bool authentication) {
  ASSERT_TRUE(f.store()->update("korvel.mfp.Sample_MFP", [&](plist_t domain) {
    plist_t jc = plist_new_dict();
    plist::setAsciiString(jc, "Model Name", "Korvel Sample MFP");
    plist::setAsciiString(jc, "Release Number", "2.00");
    plist::setInt32(jc, "hold button", static_cast<std::int32_t>(mask));
    plist::setBoolean(jc, "authentication", authentication);
    for (const auto& [name, value] : values) plist::setString(jc, name, fromUtf8(value));
    plist_dict_set_item(domain, "Job Control", jc);
    return true;
  }));
}

class ReaderDefaultsTest : public testing::TestWithParam<int> {};

TEST_P(ReaderDefaultsTest, JobWithoutEntriesGetsTheDefaults) {
  PanelFixture f;
  f.host.settings.setJobName("Quarterly report");
  openMode(f, GetParam());

  EXPECT_EQ(f.control("retentionCheckBox").state(), 0);
  EXPECT_EQ(f.control("suspendMatrix").selectedRow(), 0);
  if (auto* popUp = maybe(f, "folderSelectionPopup")) {
    EXPECT_EQ(popUp->indexOfSelectedItem(), 1);
  }
  if (auto* matrix = maybe(f, "folderSelectionMatrix")) {
    EXPECT_EQ(matrix->selectedRow(), 1);
  }
  if (auto* matrix = maybe(f, "authenticationMatrix")) {
    EXPECT_EQ(matrix->selectedRow(), 0);
  }
  for (const char* field :
       {"suspendKeyEditText", "folderPasswordEditText", "folderNameEditText", "loginNameEditText",
        "passwordEditText", "userNumberEditText", "accountNumberEditText"}) {
    if (auto* c = maybe(f, field)) {
      EXPECT_EQ(c->stringValue(), u"") << field;
    }
  }
  EXPECT_EQ(f.control("userNameEditText").stringValue(), u"Test User");
  EXPECT_EQ(f.control("jobNameEditText").stringValue(), u"Quarterly report");
  for (const char* box : kHoldBoxes) {
    if (auto* c = maybe(f, box)) {
      EXPECT_EQ(c->state(), 0) << box;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Layouts, ReaderDefaultsTest, testing::Values(1, 2, 3, 4, 5));

TEST(ReaderTest, JobWithoutNameLeavesTheJobNameEmpty) {
  PanelFixture f;
  f.open();
  EXPECT_EQ(f.control("jobNameEditText").stringValue(), u"");
}

struct SuspendCase {
  const char* value;  // nullptr: no entry
  int retention;
  int row;
};
void PrintTo(const SuspendCase& c, std::ostream* os) {
  *os << '"' << (c.value ? c.value : "(none)") << '"';
}

class ReaderSuspendTest : public testing::TestWithParam<SuspendCase> {};

TEST_P(ReaderSuspendTest, FirstDigitSelectsTheMode) {
  PanelFixture f;
  if (GetParam().value) f.host.settings.setValue(key("jobSuspend"), GetParam().value);
  f.open();
  EXPECT_EQ(f.control("retentionCheckBox").state(), GetParam().retention);
  EXPECT_EQ(f.control("suspendMatrix").selectedRow(), GetParam().row);
}

INSTANTIATE_TEST_SUITE_P(Digits, ReaderSuspendTest,
                         testing::Values(SuspendCase{"2", 1, 0}, SuspendCase{"1", 1, 1},
                                         SuspendCase{"3", 1, 2}, SuspendCase{"0", 0, 0},
                                         SuspendCase{"4", 0, 0}, SuspendCase{"x", 0, 0},
                                         SuspendCase{"", 0, 0}, SuspendCase{"31", 1, 2},
                                         SuspendCase{"é", 0, 0}, SuspendCase{nullptr, 0, 0}));

struct FilingCase {
  const char* filing;                     // nullptr: no entry
  std::optional<std::string> folderPath;  // bytes in Mac Roman, written as hex
  int popUpIndex;
  int matrixRow;
  std::u16string folderName;  // shown in the custom-folder field
};
void PrintTo(const FilingCase& c, std::ostream* os) {
  *os << "filing " << (c.filing ? c.filing : "(none)") << " path of "
      << (c.folderPath ? std::to_string(c.folderPath->size()) + " bytes" : "(none)");
}

class ReaderFilingTest : public testing::TestWithParam<std::tuple<int, FilingCase>> {};

TEST_P(ReaderFilingTest, FirstDigitSelectsTheFolder) {
  const auto& [uiMode, c] = GetParam();
  PanelFixture f;
  f.host.settings.setValue(key("jobSuspend"), "2");  // retention on, hold only
  if (c.filing) f.host.settings.setValue(key("filing"), c.filing);
  if (c.folderPath) f.host.settings.setValue(key("folderPath"), upperHex(*c.folderPath));
  KorvelPrintPdeVx418JC& panel = openMode(
      f, uiMode, FolderList{{u"Alpha", false, false, false}, {u"Bêta Ü", true, false, false}});

  if (auto* popUp = maybe(f, "folderSelectionPopup")) {
    EXPECT_EQ(popUp->indexOfSelectedItem(), c.popUpIndex);
  }
  if (auto* matrix = maybe(f, "folderSelectionMatrix")) {
    EXPECT_EQ(matrix->selectedRow(), c.matrixRow);
  }
  if (auto* field = maybe(f, "folderNameEditText")) {
    EXPECT_EQ(field->stringValue(), c.folderName);
  }
  if (c.matrixRow == 2) {
    EXPECT_EQ(panel.folderNameStringRef, c.folderName);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Digits, ReaderFilingTest,
    testing::Combine(testing::Values(2, 3, 5),
                     testing::Values(FilingCase{"0", std::nullopt, 1, 1, u""},
                                     FilingCase{"2", std::nullopt, 1, 1, u""},
                                     FilingCase{"1", std::nullopt, 0, 0, u""},
                                     FilingCase{"3", "Alpha", 3, 2, u"Alpha"},
                                     // Folder names match without regard to case.
                                     FilingCase{"3", "b\x90ta \x9F", 4, 2, u"bêta ü"},
                                     FilingCase{"3", "Gamma", 1, 2, u"Gamma"},
                                     FilingCase{"3", std::string(200, 'n'), 1, 2,
                                                std::u16string(200, u'n')},
                                     FilingCase{"3", std::nullopt, 1, 1, u""},
                                     FilingCase{"9", "Alpha", 1, 1, u""},
                                     FilingCase{nullptr, std::nullopt, 1, 1, u""})));

TEST(ReaderTest, HeldUserNumberWinsOnceThenTheJobsEntryAndMaskRule) {
  PanelFixture f;
  seedHeldPreferences(f, kHoldUserNumber, {{"user number", fixedKeyHex("42", 16)}}, false);
  f.host.settings.setValue(key("Authentication"), "0");
  f.host.settings.setValue(key("userNumber2"), fixedKeyHex("77", 16));
  f.host.settings.setValue(key("holdButton"), "0");
  KorvelPrintPdeVx418JC& panel = f.open();
  EXPECT_EQ(f.control("authenticationMatrix").selectedRow(), 1);
  EXPECT_EQ(f.control("userNumberEditText").stringValue(), u"42");
  EXPECT_EQ(f.control("userNumberButton").state(), 1);
  EXPECT_EQ(panel.prefHoldButtonFlag & kHoldUserNumber, 0u);

  panel.restoreValuesAndReturnError(nullptr);
  EXPECT_EQ(f.control("userNumberEditText").stringValue(), u"77");
  EXPECT_EQ(f.control("userNumberButton").state(), 0);

  f.host.settings.setValue(key("holdButton"), std::to_string(kHoldUserNumber));
  panel.restoreValuesAndReturnError(nullptr);
  EXPECT_EQ(f.control("userNumberEditText").stringValue(), u"77");
  EXPECT_EQ(f.control("userNumberButton").state(), 1);
}

TEST(ReaderTest, HeldButEmptyValuesLeaveTheFieldsEmptyAndLocked) {
  PanelFixture f;
  seedHeldPreferences(f, kHoldFolderPassCode | kHoldPassword | kHoldUserName,
                      {{"folder pass code", ""}, {"user password", ""}, {"user name", ""}}, true);
  f.host.settings.setValue(key("folderPassword2"), fixedKeyHex("1234", 16));
  f.host.settings.setValue(key("password2"), fixedKeyHex("job-pw", 32));
  f.open();
  EXPECT_EQ(f.control("folderPasswordEditText").stringValue(), u"");
  EXPECT_EQ(f.control("folderPasswordButton").state(), 1);
  EXPECT_EQ(f.control("passwordEditText").stringValue(), u"");
  EXPECT_EQ(f.control("passwordButton").state(), 1);
  EXPECT_EQ(f.control("userNameEditText").stringValue(), u"");
  EXPECT_EQ(f.control("userNameButton").state(), 1);
}

struct LimitCase {
  const char* entry;
  const char* field;
  std::string value;
  int passwordMax;
  std::u16string shown;
};
void PrintTo(const LimitCase& c, std::ostream* os) {
  *os << c.entry << " " << c.value << " limit " << c.passwordMax;
}

class ReaderCodeLimitTest : public testing::TestWithParam<LimitCase> {};

TEST_P(ReaderCodeLimitTest, CodesLongerThanTheLimitAreNotShown) {
  const LimitCase& c = GetParam();
  PanelFixture f;
  f.env.capabilities.passwordMax = c.passwordMax;
  f.host.settings.setValue(key("jobSuspend"), "2");
  f.host.settings.setValue(key("Authentication"), "0");
  f.host.settings.setValue(key(c.entry), fixedKeyHex(c.value, 16));
  f.open();
  EXPECT_EQ(f.control(c.field).stringValue(), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ReaderCodeLimitTest,
    testing::Values(LimitCase{"jobSuspend2Key", "suspendKeyEditText", "12345", 5, u"12345"},
                    LimitCase{"jobSuspend2Key", "suspendKeyEditText", "123456", 5, u""},
                    LimitCase{"jobSuspend2Key", "suspendKeyEditText", "123456", 8, u"123456"},
                    LimitCase{"jobSuspend2Key", "suspendKeyEditText", "12345678", 8, u"12345678"},
                    LimitCase{"accountNumber2", "accountNumberEditText", "54321", 5, u"54321"},
                    LimitCase{"accountNumber2", "accountNumberEditText", "654321", 5, u""},
                    LimitCase{"accountNumber2", "accountNumberEditText", "654321", 8, u"654321"},
                    LimitCase{"folderPassword2", "folderPasswordEditText", "2468", 5, u"2468"},
                    LimitCase{"folderPassword2", "folderPasswordEditText", "246810", 5, u""},
                    LimitCase{"folderPassword2", "folderPasswordEditText", "246810", 8, u"246810"},
                    // The user number has no such limit.
                    LimitCase{"userNumber2", "userNumberEditText", "12345678", 5, u"12345678"}));

// Everything the panel shows, as a save then a restore in a new dialog sees it.
struct PanelValues {
  int suspendRow = 0;
  std::u16string passCode;
  int folderRow = 2;
  std::u16string folderName;
  std::u16string folderPassword;
  bool loginAuthentication = true;
  std::u16string loginName;
  std::u16string password;
  std::u16string userNumber;
  std::u16string accountNumber;
  std::u16string userName;
  std::u16string jobName;
  std::uint32_t holds = 0;
};
void PrintTo(const PanelValues& v, std::ostream* os) {
  *os << "login name of " << v.loginName.size() << ", password of " << v.password.size()
      << ", holds " << v.holds;
}

void fill(PanelFixture& f, const PanelValues& v) {
  KorvelPrintPdeVx418JC& p = *f.panel;
  // A click on a hold box that changes its state, action included.
  auto hold = [&](const char* box, std::uint32_t bit) {
    HeadlessControl& c = f.control(box);
    const int state = (v.holds & bit) ? 1 : 0;
    if (c.state() == state) return;
    c.setState(state);
    p.performAction(c.action(), &c);
  };
  f.control("retentionCheckBox").userSetState(1);
  ASSERT_TRUE(f.control("suspendMatrix").userSelectRow(v.suspendRow));
  ASSERT_TRUE(f.control("folderSelectionMatrix").userSelectRow(v.folderRow));
  ASSERT_TRUE(f.control("authenticationMatrix").userSelectRow(v.loginAuthentication ? 0 : 1));
  p.suspendKeyEditText->setStringValue(v.passCode);
  p.folderNameEditText->setStringValue(v.folderName);
  p.folderPasswordEditText->setStringValue(v.folderPassword);
  p.loginNameEditText->setStringValue(v.loginName);
  p.passwordEditText->setStringValue(v.password);
  p.userNumberEditText->setStringValue(v.userNumber);
  p.accountNumberEditText->setStringValue(v.accountNumber);
  p.userNameEditText->setStringValue(v.userName);
  p.jobNameEditText->setStringValue(v.jobName);
  hold("suspendKeyButton", kHoldPassCode);
  hold("loginNameButton", kHoldLoginName);
  hold("passwordButton", kHoldPassword);
  hold("userNumberButton", kHoldUserNumber);
  hold("accountNumberButton", kHoldAccountNumber);
  hold("userNameButton", kHoldUserName);
  hold("jobNameButton", kHoldJobName);
  hold("folderPasswordButton", kHoldFolderPassCode);
  hold("folderNameButton", kHoldFolderName);
}

class ReaderRoundTripTest : public testing::TestWithParam<PanelValues> {};

TEST_P(ReaderRoundTripTest, RestoreAfterSaveShowsWhatWasSaved) {
  const PanelValues& v = GetParam();
  PanelFixture first;
  first.env.capabilities.hardDisk = true;
  openMode(first, 5);
  fill(first, v);
  first.panel->saveValuesAndReturnError(nullptr);

  PanelFixture second;  // a new dialog with its own, empty preferences
  second.env.capabilities.hardDisk = true;
  second.host.settings = first.host.settings;
  KorvelPrintPdeVx418JC& panel = openMode(second, 5);
  auto shown = [&](const char* field) { return second.control(field).stringValue(); };
  // A field of the other sign-in mode is emptied unless it is held.
  auto kept = [&](const std::u16string& value, std::uint32_t bit, bool active) {
    return active || (v.holds & bit) ? value : std::u16string();
  };

  EXPECT_EQ(second.control("retentionCheckBox").state(), 1);
  EXPECT_EQ(second.control("suspendMatrix").selectedRow(), v.suspendRow);
  EXPECT_EQ(shown("suspendKeyEditText"), v.passCode);
  EXPECT_EQ(second.control("folderSelectionMatrix").selectedRow(), v.folderRow);
  EXPECT_EQ(shown("folderNameEditText"), v.folderName);
  EXPECT_EQ(shown("folderPasswordEditText"), v.folderPassword);
  EXPECT_EQ(second.control("authenticationMatrix").selectedRow(), v.loginAuthentication ? 0 : 1);
  const std::u16string loginName = kept(v.loginName, kHoldLoginName, v.loginAuthentication);
  if (v.holds & kHoldLoginName) {
    EXPECT_EQ(panel.loginNameStringRef, loginName);
    EXPECT_EQ(shown("loginNameEditText"), std::u16string(loginName.size(), u'•'));
  } else {
    EXPECT_EQ(shown("loginNameEditText"), loginName);
  }
  EXPECT_EQ(shown("passwordEditText"), kept(v.password, kHoldPassword, v.loginAuthentication));
  EXPECT_EQ(shown("userNumberEditText"),
            kept(v.userNumber, kHoldUserNumber, !v.loginAuthentication));
  EXPECT_EQ(shown("accountNumberEditText"), v.accountNumber);
  EXPECT_EQ(shown("userNameEditText"), v.userName);
  EXPECT_EQ(shown("jobNameEditText"), v.jobName);
  for (std::size_t i = 0; i < kHoldBoxes.size(); ++i) {
    static const std::uint32_t bits[] = {kHoldPassCode,   kHoldLoginName,      kHoldPassword,
                                         kHoldUserNumber, kHoldAccountNumber,  kHoldUserName,
                                         kHoldJobName,    kHoldFolderPassCode, kHoldFolderName};
    EXPECT_EQ(second.control(kHoldBoxes[i]).state(), (v.holds & bits[i]) ? 1 : 0) << kHoldBoxes[i];
  }
}

std::vector<PanelValues> roundTripCases() {
  const std::u16string logins[] = {
      u"a", u"exactly16bytes!!",      u"seventeen bytes!!", std::u16string(255, u'L'),
      u"é", std::u16string(16, u'ü'), u"Jürgen Müller-17b", std::u16string(255, u'é')};
  const std::u16string passwords[] = {u"p",
                                      u"fifteen-chars15",
                                      u"sixteen-chars-16",
                                      u"seventeen-chars17",
                                      std::u16string(32, u'w'),
                                      u"Pässwörd",
                                      std::u16string(16, u'Ö'),
                                      u"thirty-one characters long pw!!"};
  std::vector<PanelValues> cases;
  for (std::size_t i = 0; i < std::size(logins); ++i) {
    PanelValues v;
    v.suspendRow = static_cast<int>(i % 3);
    v.passCode = i % 2 ? u"12345" : u"7";
    v.folderName = i % 2 ? u"Projekt Ü" : std::u16string(200, u'f');
    v.folderPassword = i % 2 ? u"2468" : u"00001";
    v.loginAuthentication = i % 4 != 3;
    v.loginName = logins[i];
    v.password = passwords[i];
    v.userNumber = i % 2 ? u"00042" : u"12345";
    v.accountNumber = i % 2 ? u"9" : u"54321";
    v.userName = i % 2 ? u"Zoë Åkesson" : std::u16string(32, u'ß');
    v.jobName = i % 2 ? u"Résumé – final" : u"plain job";
    v.holds = i % 3 == 0 ? kHoldAll : i % 3 == 1 ? 0u : kHoldLoginName | kHoldUserNumber;
    cases.push_back(v);
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Values, ReaderRoundTripTest, testing::ValuesIn(roundTripCases()));

TEST(ReaderTest, HoldMaskIsReadAsTheLeadingDecimalNumber) {
  const std::pair<const char*, std::uint32_t> cases[] = {{"64", 64},
                                                         {" 64", 64},
                                                         {"64abc", 64},
                                                         {"+8", 8},
                                                         {"-1", 0xFFFFFFFFu},
                                                         {"abc", 0},
                                                         {"", 0},
                                                         {"2147483647", 0x7FFFFFFFu},
                                                         {"2147483648", 0x7FFFFFFFu},
                                                         {"99999999999999999999999", 0x7FFFFFFFu},
                                                         {"-99999999999999999999999", 0x80000000u}};
  for (const auto& [text, mask] : cases) {
    PanelFixture f;
    f.host.settings.setValue(key("holdButton"), text);
    KorvelPrintPdeVx418JC& panel = f.open();
    EXPECT_EQ(panel.presetHoldButtonFlag, mask) << '"' << text << '"';
  }
}

TEST(ReaderTest, HexOfTheWrongFormDecodesToOtherBytes) {
  const std::string full = fixedKeyHex("42", 16);
  std::string lower = full;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  // An odd count reads a "0" for the missing digit: cut where that changes a byte.
  std::size_t odd = 31;
  while (odd > 1 && full[odd] == '0') odd -= 2;
  for (const std::string& value : {lower, full.substr(0, odd), full.substr(0, 30), full + "FF"}) {
    PanelFixture f;
    f.host.settings.setValue(key("Authentication"), "0");
    f.host.settings.setValue(key("userNumber2"), value);
    f.open();
    const std::u16string shown = f.control("userNumberEditText").stringValue();
    if (value.size() >= 32 && value.compare(0, 32, full) == 0) {
      EXPECT_EQ(shown, u"42");
    } else {
      EXPECT_NE(shown, u"42") << value;
    }
  }
}

TEST(ReaderTest, MalformedValuesNeverCrash) {
  const char* entries[] = {"jobSuspend",      "jobSuspend2Key", "filing",      "folderPath",
                           "Authentication",  "loginName11",    "loginName12", "password2",
                           "userNumber2",     "accountNumber2", "userName",    "jobName",
                           "folderPassword2", "holdButton"};
  const std::string values[] = {"",
                                "A",
                                "ABC",
                                "abcdef0123456789abcdef0123456789",
                                "!!!!garbage@@@@",
                                "====",
                                "Zm9v",
                                "QUJD\nREVG",
                                "é",
                                std::string("\x01\x02\x7F", 3),
                                std::string(300, 'Z'),
                                std::string(511, '/'),
                                std::string(5000, 'F'),
                                "3" + std::string(600, '9')};
  const std::uint32_t heldSecrets = kHoldPassCode | kHoldLoginName | kHoldPassword |
                                    kHoldUserNumber | kHoldAccountNumber | kHoldFolderPassCode;
  for (const std::string& value : values) {
    for (int uiMode : {2, 5}) {
      PanelFixture f;
      for (const char* entry : entries) f.host.settings.setValue(key(entry), value);
      // The second layout also reads the same text as held preferences.
      if (uiMode == 5) {
        seedHeldPreferences(f, heldSecrets,
                            {{"pass code", value},
                             {"user login name", value},
                             {"user password", value},
                             {"user number", value},
                             {"account number", value},
                             {"folder pass code", value}},
                            true);
      }
      f.env.capabilities.uiMode = uiMode;
      KorvelPrintPdeVx418JC& panel = f.make();
      panel.panelView();
      EXPECT_TRUE(panel.restoreValuesAndReturnError(nullptr));
      EXPECT_TRUE(panel.restoreValuesAndReturnError(nullptr));
      panel.saveValuesAndReturnError(nullptr);
      for (const char* field : {"suspendKeyEditText", "loginNameEditText", "passwordEditText",
                                "userNumberEditText", "accountNumberEditText", "userNameEditText",
                                "jobNameEditText", "folderPasswordEditText"}) {
        EXPECT_LE(f.control(field).stringValue().size(), 511u) << field;
      }
    }
  }
}

}  // namespace
}  // namespace jc::test
