// The held-field and hold-mode tables against what uses them: the layouts'
// outlets, the hold mask, and the reader, which must take each field's held
// value from its own row.
#include "settings/held_fields.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "settings/hold_modes.h"
#include "settings/print_settings_keys.h"
#include "settings/reader.h"
#include "settings/writer.h"
#include "support/file_text.h"
#include "support/panel_fixture.h"

namespace jc {
namespace {

TEST(HeldFieldsTest, EveryBitKeyAndNameOnceAndEveryOutletInALayout) {
  std::string layouts;
  for (const char* name :
       {"JobControl", "JobControl2", "JobControl3", "JobControl4", "JobControl5"})
    layouts += test::readFile(test::buildBundleFolder() / "layouts" / (std::string(name) + ".ui"));
  std::uint32_t mask = 0;
  std::set<std::string_view> keys, names;
  for (const HeldField& f : kHeldFields) {
    EXPECT_EQ(mask & f.bit, 0u) << f.commandLineName;
    mask |= f.bit;
    EXPECT_TRUE(keys.insert(f.preferenceKey).second) << f.preferenceKey;
    EXPECT_TRUE(names.insert(f.commandLineName).second) << f.commandLineName;
    EXPECT_EQ(&kHeldFields[heldFieldIndex(f.bit)], &f);
    for (std::string_view outlet : {f.editField, f.lockBox})
      EXPECT_NE(layouts.find("name=\"" + std::string(outlet) + "\""), std::string::npos) << outlet;
  }
  EXPECT_EQ(mask, kHoldAll);
  for (const HoldMode& m : kHoldModes) {
    EXPECT_EQ(holdModeOfRow(m.row), &m);
    EXPECT_EQ(holdModeOfDigit(m.suspendDigit), &m);
    EXPECT_EQ(holdModeNamed(m.name), &m);
    EXPECT_NE(layouts.find("name=\"" + std::string(m.radio) + "\""), std::string::npos) << m.radio;
  }
  EXPECT_EQ(holdModeOfDigit('0'), nullptr);
  EXPECT_EQ(holdModeOfRow(3), nullptr);
}

// Each field is typed one way in the job and held another way; the read must
// show the held one in that field and no other.
TEST(HeldFieldsTest, TheReaderTakesEachHeldValueFromItsOwnRow) {
  struct Case {
    HoldBit bit;
    Present<std::u16string> JobControlSettings::*field;
    std::string_view heldEntry;  // the entry whose text the preferences keep; none: plain text
  };
  const Case cases[] = {
      {kHoldPassCode, &JobControlSettings::suspendKey, keys::kJobSuspend2Key},
      {kHoldPassword, &JobControlSettings::password, keys::kPassword2},
      {kHoldUserNumber, &JobControlSettings::userNumber, keys::kUserNumber2},
      {kHoldAccountNumber, &JobControlSettings::accountNumber, keys::kAccountNumber2},
      {kHoldUserName, &JobControlSettings::userName, {}},
      {kHoldJobName, &JobControlSettings::jobName, {}},
      {kHoldFolderPassCode, &JobControlSettings::folderPassword, keys::kFolderPassword2},
  };
  auto settingsWith = [](const std::u16string& digits, const std::u16string& name) {
    JobControlSettings s;
    s.retention = true;
    s.suspendRow = 0;
    s.loginAuthentication = false;
    for (auto f : {&JobControlSettings::suspendKey, &JobControlSettings::userNumber,
                   &JobControlSettings::accountNumber, &JobControlSettings::folderPassword})
      s.*f = digits;
    s.password = name;
    s.userName = name;
    s.jobName = name;
    return s;
  };
  WriterContext writer;
  writer.spoolTime = "Mon, 7 Dec 2026 15:26:44 +0000";
  PrintSettings heldEntries, jobEntries;
  writeJobControlEntries(settingsWith(u"4711", u"Held"), heldEntries, writer);
  writeJobControlEntries(settingsWith(u"1234", u"Job"), jobEntries, writer);
  const JobControlReading asInTheJob = readJobControlEntries(jobEntries, ReaderContext{});
  for (const Case& c : cases) {
    ReaderContext context;
    context.held.mask = c.bit;
    const std::string text =
        c.heldEntry.empty() ? "Held" : heldEntries.value(c.heldEntry).value_or("");
    context.held.of(c.bit) = std::u16string(text.begin(), text.end());
    JobControlSettings read = readJobControlEntries(jobEntries, context).settings;
    const std::u16string held = (read.*c.field).value_or(u"");
    EXPECT_TRUE(held == u"4711" || held == u"Held") << text;
    read.*c.field = asInTheJob.settings.*c.field;
    for (const Case& other : cases)
      EXPECT_EQ(read.*other.field, asInTheJob.settings.*other.field)
          << "holding " << heldFieldIndex(c.bit) << " changed " << heldFieldIndex(other.bit);
  }
}

}  // namespace
}  // namespace jc
