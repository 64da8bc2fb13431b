#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/text.h"
#include "prefs/plist_values.h"
#include "prefs/prefs_test_support.h"
#include "support/file_text.h"
#include "support/openssl_reference.h"
#include "support/panel_fixture.h"

namespace jc::test {
namespace {

namespace fs = std::filesystem;

constexpr char kDomain[] = "korvel.mfp.Sample_MFP";
constexpr char16_t kModel[] = u"Korvel Sample MFP";

PlistPtr readDomain(PanelFixture& f, const std::string& domain = kDomain) {
  return f.store()->read(domain);
}

plist_t jobControl(const PlistPtr& domain) { return plist::dict(domain.get(), "Job Control"); }

std::string asciiString(plist_t dict, const char* key) {
  return toUtf8(plist::string(dict, key).value_or(u"<missing>"));
}

// Writes the whole domain before the dialog opens.
void seedDomain(PanelFixture& f, const std::function<void(plist_t domain)>& fill) {
  ASSERT_TRUE(f.store()->update(kDomain, [&](plist_t domain) {
    fill(domain);
    return true;
  }));
}

plist_t newFolder(const char* name, bool password) {
  plist_t entry = plist_new_dict();
  if (name) plist_dict_set_item(entry, "name", plist_new_string(name));
  plist_dict_set_item(entry, "password", plist_new_bool(password));
  plist_dict_set_item(entry, "dir", plist_new_bool(false));
  plist_dict_set_item(entry, "add", plist_new_bool(false));
  return entry;
}

// A stored dictionary of this printer with a held user name, an address and
// one folder, plus entries of the domain that belong to someone else.
void seedFullDomain(PanelFixture& f, const std::optional<std::string>& model,
                    const std::optional<std::string>& release) {
  seedDomain(f, [&](plist_t domain) {
    plist_t jc = plist_new_dict();
    if (model) plist_dict_set_item(jc, "Model Name", plist_new_string(model->c_str()));
    if (release) plist_dict_set_item(jc, "Release Number", plist_new_string(release->c_str()));
    plist_dict_set_item(jc, "hold button", plist_new_uint(kHoldUserName));
    plist_dict_set_item(jc, "user name", plist_new_string("Keeper"));
    plist_dict_set_item(jc, "authentication", plist_new_bool(true));
    plist_dict_set_item(jc, "address", plist_new_string("192.0.2.7"));
    plist_t files = plist_new_array();
    plist_array_append_item(files, newFolder("Shared", true));
    plist_dict_set_item(jc, "files", files);
    plist_dict_set_item(domain, "Job Control", jc);
    plist_dict_set_item(domain, "Someone Else", plist_new_string("untouched"));
  });
}

// A new print dialog (a new panel and a new job) on the same preferences.
KorvelPrintPdeVx418JC& newDialog(PanelFixture& f) {
  f.panel.reset();
  f.host.settings = PrintSettings();
  return f.open();
}

void setText(KorvelPrintPdeVx418JC& panel, const char* outlet, const std::u16string& text) {
  ControlRef field = panel.outlet(outlet);
  ASSERT_TRUE(field) << outlet;
  field->setStringValue(text);
}

// Turns a hold box on or off as a click would, action included.
void setHold(PanelFixture& f, const char* box, bool on) {
  HeadlessControl& c = f.control(box);
  c.setState(on ? 1 : 0);
  f.panel->performAction(c.action(), &c);
}

// The secret fields, their hold boxes, their keys and the stored form.
struct SecretField {
  const char* field;
  const char* box;
  const char* key;
  std::uint32_t bit;
  std::size_t hexBytes;  // 0: Base64 (the login name)
  std::string value;
};

const std::vector<SecretField>& secretFields() {
  static const std::vector<SecretField> fields = {
      {"suspendKeyEditText", "suspendKeyButton", "pass code", kHoldPassCode, 16, "12345"},
      {"loginNameEditText", "loginNameButton", "user login name", kHoldLoginName, 0, "alice"},
      {"passwordEditText", "passwordButton", "user password", kHoldPassword, 32, "s3cret-pw"},
      {"userNumberEditText", "userNumberButton", "user number", kHoldUserNumber, 16, "42"},
      {"accountNumberEditText", "accountNumberButton", "account number", kHoldAccountNumber, 16,
       "777"},
      {"folderPasswordEditText", "folderPasswordButton", "folder pass code", kHoldFolderPassCode,
       16, "2468"},
  };
  return fields;
}

// Fills every field of the default layout; the hold boxes named in `held` go on.
void fillPanel(PanelFixture& f, std::uint32_t held) {
  KorvelPrintPdeVx418JC& panel = *f.panel;
  f.control("retentionCheckBox").userSetState(1);
  for (const SecretField& s : secretFields()) {
    setText(panel, s.field, fromUtf8(s.value));
    setHold(f, s.box, (held & s.bit) != 0);
  }
  setText(panel, "userNameEditText", u"Zoë Smith");
  setHold(f, "userNameButton", (held & kHoldUserName) != 0);
  setText(panel, "jobNameEditText", u"Report ü");
  setHold(f, "jobNameButton", (held & kHoldJobName) != 0);
}

// A "Job Control" dictionary holding only the printer's model and release,
// and a panel that loaded nothing from it.
void expectFreshDictionary(plist_t jc, const KorvelPrintPdeVx418JC& panel) {
  ASSERT_TRUE(jc);
  EXPECT_EQ(plist_dict_get_size(jc), 2u);
  EXPECT_EQ(plist::string(jc, "Model Name"), kModel);
  EXPECT_EQ(plist::string(jc, "Release Number"), u"2.00");
  EXPECT_EQ(panel.prefHoldButtonFlag, 0u);
  EXPECT_FALSE(panel.prefAuthenticationBooleanRef);
  EXPECT_FALSE(panel.prefUserNameStringRef);
  EXPECT_FALSE(panel.addressStringRef);
  ASSERT_TRUE(panel.folderList);
  EXPECT_TRUE(panel.folderList->empty());
}

TEST(PreferencesTest, FirstDialogCreatesTheDomainWithModelAndReleaseOnly) {
  PanelFixture f;
  KorvelPrintPdeVx418JC& panel = f.make();
  const PlistPtr domain = readDomain(f);
  ASSERT_TRUE(domain);
  EXPECT_EQ(plist_dict_get_size(domain.get()), 1u);
  expectFreshDictionary(jobControl(domain), panel);
}

struct StoredIdentity {
  std::optional<std::string> model;
  std::optional<std::string> release;
  bool kept;
};
void PrintTo(const StoredIdentity& c, std::ostream* os) {
  *os << '"' << c.model.value_or("(none)") << "\" \"" << c.release.value_or("(none)") << '"';
}

class CheckPreferenceTest : public testing::TestWithParam<StoredIdentity> {};

TEST_P(CheckPreferenceTest, KeepsTheDictionaryOnlyForTheSameModelAndRelease) {
  PanelFixture f;
  seedFullDomain(f, GetParam().model, GetParam().release);
  KorvelPrintPdeVx418JC& panel = f.make();

  const PlistPtr domain = readDomain(f);
  plist_t jc = jobControl(domain);
  ASSERT_TRUE(jc);
  EXPECT_EQ(asciiString(domain.get(), "Someone Else"), "untouched");
  if (GetParam().kept) {
    EXPECT_EQ(panel.prefHoldButtonFlag, kHoldUserName);
    EXPECT_EQ(panel.prefUserNameStringRef, u"Keeper");
    EXPECT_EQ(panel.addressStringRef, u"192.0.2.7");
    ASSERT_TRUE(panel.folderList);
    EXPECT_EQ(*panel.folderList, (FolderList{{u"Shared", true, false, false}}));
  } else {
    expectFreshDictionary(jc, panel);
  }
}

INSTANTIATE_TEST_SUITE_P(Identities, CheckPreferenceTest,
                         testing::Values(StoredIdentity{"Korvel Sample MFP", "2.00", true},
                                         StoredIdentity{"Korvel Other MFP", "2.00", false},
                                         StoredIdentity{"korvel sample mfp", "2.00", false},
                                         StoredIdentity{"Korvel Sample MFP ", "2.00", false},
                                         StoredIdentity{"Korvel Sample MFP", "2.0", false},
                                         StoredIdentity{"Korvel Sample MFP", "2.000", false},
                                         StoredIdentity{"Korvel Sample MFP", "1.00", false},
                                         StoredIdentity{"Korvel Sample MFP", std::nullopt, false},
                                         StoredIdentity{std::nullopt, "2.00", false}));

TEST(PreferencesTest, PrinterWithoutModelNameKeepsItsHeldValues) {
  PanelFixture f;
  const fs::path ppd = f.dir.path() / "NoModel.ppd";
  {
    std::ifstream in(samplePpdPath());
    std::ofstream out(ppd);
    for (std::string line; std::getline(in, line);)
      if (line.rfind("*ModelName:", 0) != 0) out << line << "\n";
  }
  f.host.ppd = openPpd(ppd);
  ASSERT_TRUE(f.host.ppd);
  KorvelPrintPdeVx418JC& first = f.open();
  EXPECT_FALSE(first.modelStringRef);
  setText(first, "userNameEditText", u"Held");
  setHold(f, "userNameButton", true);
  first.shouldPrint();

  newDialog(f);
  EXPECT_EQ(f.control("userNameEditText").stringValue(), u"Held");
  const PlistPtr domain = readDomain(f);
  EXPECT_FALSE(plist::string(jobControl(domain), "Model Name"));
  EXPECT_EQ(plist::string(jobControl(domain), "Release Number"), u"2.00");

  // A stored model name is another printer's: everything goes.
  ASSERT_TRUE(f.store()->update(kDomain, [](plist_t domain) {
    plist::setAsciiString(plist::dict(domain, "Job Control"), "Model Name", "Korvel Sample MFP");
    return true;
  }));
  KorvelPrintPdeVx418JC& third = f.make();
  EXPECT_EQ(third.prefHoldButtonFlag, 0u);
  EXPECT_EQ(plist_dict_get_size(jobControl(readDomain(f))), 1u);
}

TEST(PreferencesTest, EntriesBesideJobControlSurviveEveryOperation) {
  PanelFixture f;
  seedDomain(f, [](plist_t domain) {
    plist_t other = plist_new_dict();
    plist_dict_set_item(other, "count", plist_new_uint(7));
    plist_dict_set_item(other, "flag", plist_new_bool(true));
    plist_dict_set_item(domain, "Other Panel", other);
    plist_t list = plist_new_array();
    plist_array_append_item(list, plist_new_string("é"));
    plist_dict_set_item(domain, "Recent", list);
  });
  const PlistPtr before = readDomain(f);
  const std::string otherXml = prefs_test::xmlOf(plist_dict_get_item(before.get(), "Other Panel"));
  const std::string recentXml = prefs_test::xmlOf(plist_dict_get_item(before.get(), "Recent"));
  auto expectOthersKept = [&](const char* step) {
    const PlistPtr now = readDomain(f);
    EXPECT_EQ(prefs_test::xmlOf(plist_dict_get_item(now.get(), "Other Panel")), otherXml) << step;
    EXPECT_EQ(prefs_test::xmlOf(plist_dict_get_item(now.get(), "Recent")), recentXml) << step;
  };

  KorvelPrintPdeVx418JC& panel = f.open();
  expectOthersKept("check");
  // A key of a later release inside "Job Control" is carried along too.
  ASSERT_TRUE(f.store()->update(kDomain, [](plist_t domain) {
    plist_dict_set_item(plist::dict(domain, "Job Control"), "Future Key", plist_new_string("x"));
    return true;
  }));
  fillPanel(f, kHoldAll);
  EXPECT_TRUE(panel.SaveUserPreference());
  expectOthersKept("save user");
  panel.folderList = FolderList{{u"A", false, false, false}};
  EXPECT_TRUE(panel.SaveFolderPreference());
  expectOthersKept("save folders");
  panel.shouldPrint();
  expectOthersKept("print");
  newDialog(f);
  expectOthersKept("next dialog");
  EXPECT_EQ(asciiString(jobControl(readDomain(f)), "Future Key"), "x");
}

TEST(PreferencesTest, PrintWithoutLocksStoresNoSecretAndMaskZero) {
  PanelFixture f;
  KorvelPrintPdeVx418JC& panel = f.open();
  fillPanel(f, 0);
  panel.shouldPrint();

  const PlistPtr domain = readDomain(f);
  plist_t jc = jobControl(domain);
  ASSERT_TRUE(jc);
  EXPECT_EQ(plist::int32(jc, "hold button"), 0);
  for (const SecretField& s : secretFields()) EXPECT_EQ(asciiString(jc, s.key), "") << s.key;
  EXPECT_EQ(plist::string(jc, "user name"), u"Zoë Smith");
  EXPECT_EQ(plist::string(jc, "job name"), u"Report ü");
  EXPECT_EQ(plist::boolean(jc, "authentication"), true);
  const std::string file = readFile(f.store()->fileFor(kDomain));
  for (const SecretField& s : secretFields())
    EXPECT_EQ(file.find(s.value), std::string::npos) << s.key;

  // The next dialog takes back only the authentication choice.
  KorvelPrintPdeVx418JC& next = f.make();
  EXPECT_EQ(next.prefHoldButtonFlag, 0u);
  EXPECT_EQ(next.prefAuthenticationBooleanRef, true);
  EXPECT_FALSE(next.prefUserNameStringRef);
  EXPECT_FALSE(next.prefUserNumberStringRef);
}

TEST(PreferencesTest, LockedSecretsAreStoredInTheirFixedKeyForms) {
  PanelFixture f;
  KorvelPrintPdeVx418JC& panel = f.open();
  fillPanel(f, kHoldAll);
  EXPECT_EQ(f.control("loginNameEditText").stringValue(), u"•••••");
  panel.shouldPrint();

  const PlistPtr domain = readDomain(f);
  plist_t jc = jobControl(domain);
  ASSERT_TRUE(jc);
  EXPECT_EQ(plist::int32(jc, "hold button"), static_cast<std::int32_t>(kHoldAll & ~kHoldFolderName))
      << "the default layout has no folder name";
  for (const SecretField& s : secretFields()) {
    const std::string stored = asciiString(jc, s.key);
    if (s.hexBytes == 0) {
      // The held name, not the bullets the field shows.
      EXPECT_EQ(stored, base64(aesFixedKey(s.value))) << s.key;
      EXPECT_EQ(openFixedKeyBase64(stored), s.value);
    } else {
      EXPECT_EQ(stored, fixedKeyHex(s.value, s.hexBytes)) << s.key;
    }
  }
  // A password of 16 bytes or fewer leaves the second block zero.
  EXPECT_EQ(asciiString(jc, "user password").substr(32), std::string(32, '0'));

  // The dialog's loaded values follow the store right after the print.
  EXPECT_EQ(panel.prefHoldButtonFlag, kHoldAll & ~kHoldFolderName);
  EXPECT_EQ(panel.prefLoginNameStringRef, fromUtf8(base64(aesFixedKey("alice"))));
}

TEST(PreferencesTest, LockedValuesComeBackOnceThenFollowTheJobsHoldMask) {
  PanelFixture f;
  f.open();
  fillPanel(f, kHoldAll);
  f.panel->shouldPrint();

  KorvelPrintPdeVx418JC& panel = newDialog(f);
  for (const SecretField& s : secretFields()) {
    if (s.bit == kHoldLoginName) continue;
    EXPECT_EQ(f.control(s.field).stringValue(), fromUtf8(s.value)) << s.field;
    EXPECT_EQ(f.control(s.box).state(), 1) << s.box;
  }
  EXPECT_EQ(panel.loginNameStringRef, u"alice");
  EXPECT_EQ(f.control("loginNameEditText").stringValue(), u"•••••");
  EXPECT_EQ(f.control("loginNameButton").state(), 1);
  EXPECT_EQ(f.control("userNameEditText").stringValue(), u"Zoë Smith");
  EXPECT_EQ(f.control("jobNameEditText").stringValue(), u"Report ü");
  EXPECT_EQ(panel.prefHoldButtonFlag, 0u) << "every held value was used once";

  // Saving that job puts the held values and their mask into its settings;
  // the next restore takes them from there, with the job's hold mask.
  panel.saveValuesAndReturnError(nullptr);
  f.host.settings.setValue("korvel.print.PrintSettings.holdButton",
                           std::to_string(kHoldUserNumber));
  panel.restoreValuesAndReturnError(nullptr);
  EXPECT_EQ(f.control("userNumberEditText").stringValue(), u"42");
  EXPECT_EQ(f.control("userNumberButton").state(), 1);
  EXPECT_EQ(f.control("passwordEditText").stringValue(), u"s3cret-pw");
  EXPECT_EQ(f.control("passwordButton").state(), 0);
  EXPECT_EQ(f.control("loginNameEditText").stringValue(), u"alice");
  EXPECT_EQ(f.control("loginNameButton").state(), 0);

  // A job without the entries: nothing comes from the preferences any more.
  f.host.settings = PrintSettings();
  panel.restoreValuesAndReturnError(nullptr);
  EXPECT_EQ(f.control("passwordEditText").stringValue(), u"");
  EXPECT_EQ(f.control("userNameEditText").stringValue(), u"Test User");
}

// Held values of every length come back exactly through the store.
struct HeldLengths {
  std::u16string loginName;
  std::u16string password;
};
void PrintTo(const HeldLengths& c, std::ostream* os) {
  *os << "login name of " << c.loginName.size() << ", password of " << c.password.size();
}

class HeldValueLengthTest : public testing::TestWithParam<HeldLengths> {};

TEST_P(HeldValueLengthTest, ComesBackExactlyInTheNextDialog) {
  PanelFixture f;
  KorvelPrintPdeVx418JC& first = f.open();
  setText(first, "loginNameEditText", GetParam().loginName);
  setHold(f, "loginNameButton", true);
  setText(first, "passwordEditText", GetParam().password);
  setHold(f, "passwordButton", true);
  first.shouldPrint();

  KorvelPrintPdeVx418JC& next = newDialog(f);
  EXPECT_EQ(next.loginNameStringRef, GetParam().loginName);
  EXPECT_EQ(f.control("passwordEditText").stringValue(), GetParam().password);
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, HeldValueLengthTest,
    testing::Values(HeldLengths{u"a", u"p"}, HeldLengths{u"sixteen-chars-16", u"fifteen-chars15"},
                    HeldLengths{u"seventeen-chars17", u"sixteen-chars-16"},
                    HeldLengths{std::u16string(255, u'é'), u"seventeen-chars17"},
                    HeldLengths{std::u16string(16, u'ü'), std::u16string(32, u'x')},
                    HeldLengths{u"Jürgen", std::u16string(16, u'Ö')}));

TEST(PreferencesTest, FolderEntriesWithoutANameAreDroppedAtLoad) {
  PanelFixture f;
  seedFullDomain(f, "Korvel Sample MFP", "2.00");
  ASSERT_TRUE(f.store()->update(kDomain, [](plist_t domain) {
    plist_t files = plist_new_array();
    plist_array_append_item(files, newFolder("Alpha", true));
    plist_array_append_item(files, newFolder(nullptr, false));
    plist_t numbered = newFolder(nullptr, false);
    plist_dict_set_item(numbered, "name", plist_new_uint(5));
    plist_array_append_item(files, numbered);
    plist_array_append_item(files, plist_new_string("Loose"));
    plist_t bare = plist_new_dict();
    plist_dict_set_item(bare, "name", plist_new_string("Bravo"));
    plist_array_append_item(files, bare);
    plist_dict_set_item(plist::dict(domain, "Job Control"), "files", files);
    return true;
  }));
  f.host.settings.setValue("korvel.print.PrintSettings.jobSuspend", "2");
  KorvelPrintPdeVx418JC& panel = f.open();
  ASSERT_TRUE(panel.folderList);
  EXPECT_EQ(*panel.folderList,
            (FolderList{{u"Alpha", true, false, false}, {u"Bravo", false, false, false}}));
  // Pop-up item 3 + i stands for entry i.
  const HeadlessControl& popUp = f.control("folderSelectionPopup");
  ASSERT_EQ(popUp.numberOfItems(), 5);
  EXPECT_EQ(popUp.itemAtIndex(4)->title, u"Bravo");
}

TEST(PreferencesTest, FolderListAndAddressComeBackInTheNextDialog) {
  const FolderList folders{{u"Ünïcode", true, false, false}, {u"Plain", false, true, true}};
  PanelFixture f;
  KorvelPrintPdeVx418JC& panel = f.open();
  setText(panel, "printersAddressEditText", u"");
  panel.folderList = folders;
  EXPECT_TRUE(panel.SaveFolderPreference());
  EXPECT_EQ(asciiString(jobControl(readDomain(f)), "address"), "");

  // Without a list in the panel the stored one stays.
  KorvelPrintPdeVx418JC& next = newDialog(f);
  EXPECT_EQ(next.addressStringRef, u"");
  ASSERT_TRUE(next.folderList);
  EXPECT_EQ(*next.folderList, folders);
  next.folderList.reset();
  setText(next, "printersAddressEditText", u"192.0.2.9");
  EXPECT_TRUE(next.SaveFolderPreference());

  KorvelPrintPdeVx418JC& third = f.make();
  EXPECT_EQ(third.addressStringRef, u"192.0.2.9");
  ASSERT_TRUE(third.folderList);
  EXPECT_EQ(*third.folderList, folders);
}

TEST(PreferencesTest, UnreadableHoldMaskLoadsNothing) {
  for (plist_t mask :
       {plist_new_string("64"), plist_new_uint(std::uint64_t{1} << 40), plist_new_real(64.0)}) {
    PanelFixture f;
    seedFullDomain(f, "Korvel Sample MFP", "2.00");
    ASSERT_TRUE(f.store()->update(kDomain, [&](plist_t domain) {
      plist_dict_set_item(plist::dict(domain, "Job Control"), "hold button", mask);
      return true;
    }));
    KorvelPrintPdeVx418JC& panel = f.open();
    EXPECT_EQ(panel.prefHoldButtonFlag, 0u);
    EXPECT_FALSE(panel.prefAuthenticationBooleanRef);
    EXPECT_EQ(f.control("userNameEditText").stringValue(), u"Test User");
  }
}

TEST(PreferencesTest, PanelWithoutPrinterNeitherReadsNorWrites) {
  PanelFixture f;
  f.host.hasPrinter = false;
  KorvelPrintPdeVx418JC& panel = f.open();
  EXPECT_FALSE(panel.preferenceName);
  EXPECT_FALSE(panel.SaveUserPreference());
  EXPECT_FALSE(panel.SaveFolderPreference());
  EXPECT_TRUE(panel.shouldPrint());
  EXPECT_FALSE(fs::exists(f.store()->folder()));
}

TEST(PreferencesTest, PrinterIdentifierCannotLeaveThePreferencesFolder) {
  PanelFixture f;
  f.host.id = "../x";
  KorvelPrintPdeVx418JC& panel = f.open();
  EXPECT_EQ(panel.preferenceName, "korvel.mfp.../x");
  setText(panel, "userNameEditText", u"Inside");
  setHold(f, "userNameButton", true);
  panel.shouldPrint();

  // Only the preferences folder is in the test's folder, and only files in it.
  std::vector<std::string> top;
  for (const auto& entry : fs::directory_iterator(f.dir.path()))
    top.push_back(entry.path().filename().string());
  EXPECT_EQ(top, std::vector<std::string>{"prefs"});
  for (const auto& entry : fs::recursive_directory_iterator(f.store()->folder()))
    EXPECT_EQ(entry.path().parent_path(), f.store()->folder()) << entry.path();
  EXPECT_FALSE(fs::exists(f.store()->folder().parent_path() / "x.plist"));

  // The domain is found again by the same name.
  newDialog(f);
  EXPECT_EQ(f.control("userNameEditText").stringValue(), u"Inside");
}

// Writers in several processes share one printer's domain. Each round stores
// the writer's own choices and counts the round in an entry of its own; a
// round lost to another writer's read-change-replace shows as a short count.
constexpr int kWriters = 4;
constexpr int kRounds = 25;

std::string counterKey(int writer) { return "writer " + std::to_string(writer); }

std::uint64_t counterOf(plist_t domain, int writer) {
  std::uint64_t count = 0;
  if (plist_t node = plist_dict_get_item(domain, counterKey(writer).c_str()))
    plist_get_uint_val(node, &count);
  return count;
}

int runWriter(const fs::path& prefsFolder, int writer) {
  PanelFixture f;
  f.env.preferences = std::make_shared<FileDomainStore>(prefsFolder);
  KorvelPrintPdeVx418JC& panel = f.open();
  const std::u16string tag = fromUtf8(std::to_string(writer));
  for (int round = 0; round < kRounds; ++round) {
    const bool counted = f.env.preferences->update(kDomain, [&](plist_t domain) {
      plist_dict_set_item(domain, counterKey(writer).c_str(),
                          plist_new_uint(counterOf(domain, writer) + 1));
      return true;
    });
    if (!counted) return 10;
    panel.userNameEditText->setStringValue(u"writer " + tag);
    panel.jobNameEditText->setStringValue(u"job " + tag + u" round " +
                                          fromUtf8(std::to_string(round)));
    panel.userNumberEditText->setStringValue(tag + tag + tag);
    panel.userNumberButton->setState(1);
    if (!panel.SaveUserPreference()) return 11;
  }
  return 0;
}

TEST(PreferencesConcurrencyTest, WriterProcessesKeepEveryWritersLastChange) {
  TempDir shared;
  const fs::path prefsFolder = shared.path() / "prefs";
  std::vector<pid_t> children;
  for (int writer = 0; writer < kWriters; ++writer) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      int status = 1;
      try {
        status = runWriter(prefsFolder, writer);
      } catch (...) {
        status = 12;
      }
      _exit(status);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
  }

  FileDomainStore store(prefsFolder);
  const PlistPtr domain = store.read(kDomain);
  ASSERT_TRUE(domain) << "the file must still parse";
  for (int writer = 0; writer < kWriters; ++writer)
    EXPECT_EQ(counterOf(domain.get(), writer), static_cast<std::uint64_t>(kRounds))
        << counterKey(writer);
  // The stored choices are one writer's last save, whole.
  plist_t jc = plist::dict(domain.get(), "Job Control");
  ASSERT_TRUE(jc);
  const std::string user = asciiString(jc, "user name");
  ASSERT_EQ(user.rfind("writer ", 0), 0u) << user;
  const std::string tag = user.substr(7);
  EXPECT_EQ(asciiString(jc, "job name"), "job " + tag + " round " + std::to_string(kRounds - 1));
  EXPECT_EQ(openFixedKeyHex(asciiString(jc, "user number")), tag + tag + tag);
  EXPECT_EQ(asciiString(jc, "Model Name"), "Korvel Sample MFP");
}

}  // namespace
}  // namespace jc::test

namespace jc::test {
namespace {

// Two dialogs for the same printer, open at the same time, each saving in turn.
TEST(PreferencesTest, DialogsOpenTogetherKeepEachOthersChanges) {
  PanelFixture a;
  PanelFixture b;
  b.env.preferences = std::make_shared<FileDomainStore>(a.store()->folder());
  KorvelPrintPdeVx418JC& first = a.open();
  KorvelPrintPdeVx418JC& second = b.open();

  // The second dialog locks a user name; the first prints without touching it.
  setText(second, "userNameEditText", u"Bob");
  setHold(b, "userNameButton", true);
  ASSERT_TRUE(second.SaveUserPreference());
  setText(first, "jobNameEditText", u"Minutes");
  first.shouldPrint();
  PlistPtr domain = readDomain(a);
  plist_t jc = jobControl(domain);
  EXPECT_EQ(plist::string(jc, "user name"), u"Bob");
  EXPECT_EQ(plist::string(jc, "job name"), u"Minutes");
  EXPECT_EQ(plist::int32(jc, "hold button"), static_cast<std::int32_t>(kHoldUserName));

  // Both change the job name and its lock: the later save wins, bit by bit too.
  setText(second, "jobNameEditText", u"Second");
  setHold(b, "jobNameButton", true);
  ASSERT_TRUE(second.SaveUserPreference());
  setText(first, "jobNameEditText", u"First");
  setHold(a, "jobNameButton", false);
  setHold(a, "jobNameButton", true);
  ASSERT_TRUE(first.SaveUserPreference());
  domain = readDomain(a);
  jc = jobControl(domain);
  EXPECT_EQ(plist::string(jc, "job name"), u"First");
  EXPECT_EQ(plist::string(jc, "user name"), u"Bob");
  EXPECT_EQ(plist::int32(jc, "hold button"),
            static_cast<std::int32_t>(kHoldUserName | kHoldJobName));

  // A fetched folder list and the other dialog's locks stay side by side.
  second.folderList = FolderList{{u"Scans", false, true, false}};
  ASSERT_TRUE(second.SaveFolderPreference());
  ASSERT_TRUE(first.SaveUserPreference());
  EXPECT_EQ(newDialog(a).folderList, second.folderList);
  EXPECT_EQ(a.panel->prefUserNameStringRef, u"Bob");
}

// A list one dialog saved stays when another saves the list it showed
// unchanged; the file is the one libplist would write for what it holds.
TEST(PreferencesTest, AFolderListIsWrittenOnlyByTheDialogThatChangedIt) {
  const FolderList shown{{u"A & <B>", true, false, false}};
  const FolderList fetched{{u"Scans", false, true, false}, {u"\u6587\u66F8", false, false, true}};
  PanelFixture a;
  a.open().folderList = shown;
  ASSERT_TRUE(a.panel->SaveFolderPreference());
  PanelFixture b;
  b.env.preferences = std::make_shared<FileDomainStore>(a.store()->folder());
  KorvelPrintPdeVx418JC& first = newDialog(a);
  KorvelPrintPdeVx418JC& second = b.open();

  second.folderList = fetched;
  ASSERT_TRUE(second.SaveFolderPreference());
  ASSERT_TRUE(first.SaveFolderPreference());
  EXPECT_EQ(newDialog(a).folderList, fetched);
  const PlistPtr domain = readDomain(a);
  EXPECT_EQ(readFile(a.store()->fileFor(kDomain)), prefs_test::xmlOf(domain.get()));

  const FolderList later{{u"Later", false, false, false}};
  second.folderList = later;
  ASSERT_TRUE(second.SaveFolderPreference());
  EXPECT_EQ(newDialog(a).folderList, later);
}

// A dialog that changes nothing leaves the file alone: opening it, printing
// and fetching the same folder list again write nothing (a write puts a new
// file in place).
TEST(PreferencesTest, ADialogThatChangesNothingWritesNothing) {
  PanelFixture f;
  KorvelPrintPdeVx418JC& first = f.open();
  setText(first, "userNameEditText", u"Ada");
  first.folderList = FolderList{{u"Scans", false, true, false}};
  ASSERT_TRUE(first.SaveFolderPreference());
  first.shouldPrint();
  const fs::path file = f.store()->fileFor(kDomain);
  const std::string bytes = readFile(file);
  struct stat before {};
  ASSERT_EQ(::stat(file.c_str(), &before), 0);

  KorvelPrintPdeVx418JC& next = newDialog(f);
  setText(next, "userNameEditText", u"Ada");
  next.shouldPrint();
  next.folderList = FolderList{{u"Scans", false, true, false}};
  EXPECT_TRUE(next.SaveFolderPreference());
  struct stat after {};
  ASSERT_EQ(::stat(file.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(readFile(file), bytes);

  setText(newDialog(f), "jobNameEditText", u"Minutes");
  f.panel->shouldPrint();
  ASSERT_EQ(::stat(file.c_str(), &after), 0);
  EXPECT_NE(after.st_ino, before.st_ino);
  EXPECT_EQ(plist::string(jobControl(readDomain(f)), "job name"), u"Minutes");
}

}  // namespace
}  // namespace jc::test

namespace jc::test {
namespace {

// A preference folder the panel cannot save in gives a reason, without a value
// in it; the next save that works forgets it.
TEST(PreferencesTest, AFailedSaveKeepsItsReason) {
  const struct {
    const char* name;
    std::function<void(const fs::path& folder, const fs::path& lock)> block;
    const char* reason;
  } cases[] = {
      {"a folder at the lock's name",
       [](const fs::path&, const fs::path& lock) { fs::create_directories(lock); }, "lock"},
      {"a link at the lock's name",
       [](const fs::path& folder, const fs::path& lock) {
         fs::create_symlink(folder / "elsewhere", lock);
       },
       "lock"},
      {"a file where the folder belongs",
       [](const fs::path& folder, const fs::path&) {
         fs::remove_all(folder);
         writeFile(folder, "not a folder");
       },
       "folder"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PanelFixture f;
    KorvelPrintPdeVx418JC& panel = f.open();
    EXPECT_EQ(panel.preferencesError(), std::nullopt);
    const fs::path folder = f.store()->folder();
    const fs::path lock = f.store()->fileFor(kDomain).string() + ".lock";
    fs::remove(lock);
    c.block(folder, lock);
    fillPanel(f, kHoldAll);

    EXPECT_FALSE(panel.SaveUserPreference());
    const std::optional<Message> error = panel.preferencesError();
    ASSERT_TRUE(error);
    EXPECT_NE(error->text().find(c.reason), std::string::npos) << error->text();
    for (const SecretField& s : secretFields())
      EXPECT_EQ(error->text().find(s.value), std::string::npos);

    std::error_code ignored;
    fs::remove_all(lock, ignored);
    fs::remove_all(folder, ignored);
    EXPECT_TRUE(panel.SaveUserPreference());
    EXPECT_EQ(panel.preferencesError(), std::nullopt);
  }

  // A folder that cannot be made: the store's own folder under /proc.
  PanelFixture f;
  f.env.preferences = std::make_shared<FileDomainStore>("/proc/jobcontrol-absent/prefs");
  KorvelPrintPdeVx418JC& panel = f.open();
  panel.shouldPrint();
  const std::optional<Message> error = panel.preferencesError();
  ASSERT_TRUE(error);
  EXPECT_NE(error->text().find("/proc/jobcontrol-absent/prefs"), std::string::npos)
      << error->text();
}

}  // namespace
}  // namespace jc::test
