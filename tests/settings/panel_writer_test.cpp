// The writer as the panel drives it: its controls, its clock in the system
// time zone, and the host's print settings.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <ctime>
#include <optional>
#include <string>

#include "settings/print_settings_keys.h"
#include "support/openssl_reference.h"
#include "support/panel_fixture.h"

namespace jc::test {
namespace {

std::string key(std::string_view suffix) {
  return std::string(keys::kPrefix) + std::string(suffix);
}

// Sets TZ for one test and puts back what was there.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* old = getenv("TZ")) old_ = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ScopedTimeZone() {
    if (old_)
      setenv("TZ", old_->c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }
  ScopedTimeZone(const ScopedTimeZone&) = delete;
  ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

 private:
  std::optional<std::string> old_;
};

constexpr std::time_t kSundaySixth = 1796538404;       // 2026-12-06 06:26:44 UTC
constexpr std::time_t kSundayThirteenth = 1797143204;  // 2026-12-13 06:26:44 UTC

TEST(PanelWriterTest, SpoolTimeIsTheClockInTheSystemTimeZone) {
  struct Case {
    const char* zone;
    std::time_t when;
    const char* text;
  };
  for (const Case& c : {Case{"JST-9", kSundaySixth, "Sun, 6 Dec 2026 15:26:44 +0900"},
                        Case{"IST-5:30", kSundaySixth, "Sun, 6 Dec 2026 11:56:44 +0530"},
                        Case{"NST3:30", kSundaySixth, "Sun, 6 Dec 2026 02:56:44 -0330"},
                        Case{"UTC0", kSundaySixth, "Sun, 6 Dec 2026 06:26:44 +0000"},
                        Case{"JST-9", kSundayThirteenth, "Sun, 13 Dec 2026 15:26:44 +0900"}}) {
    ScopedTimeZone zone(c.zone);
    PanelFixture f;
    f.clock.set(c.when);
    KorvelPrintPdeVx418JC& panel = f.open();
    ASSERT_TRUE(f.control("retentionCheckBox").userSetState(1));
    ASSERT_TRUE(f.control("suspendKeyEditText").userType(u"42"));
    f.control("folderPasswordEditText").setStringValue(u"9");  // the writer reads it enabled or not
    ASSERT_TRUE(f.control("passwordEditText").userType(u"secret"));
    panel.saveValuesAndReturnError(nullptr);

    const PrintSettings& out = f.host.settings;
    const std::string T = c.text;
    EXPECT_EQ(out.value(key("spoolTime")), upperHex(T)) << c.zone;
    EXPECT_EQ(out.value(key("spoolTime"))->size(), 2 * T.size()) << c.zone;
    EXPECT_EQ(out.value(key("jobSuspendKey")), md5Hex("00042" + T)) << c.zone;
    EXPECT_EQ(out.value(key("folderPassword")), md5Hex(T + "00009")) << c.zone;
    EXPECT_EQ(out.value(key("password")), base64(aesSpoolKey(T, "secret"))) << c.zone;
  }
}

TEST(PanelWriterTest, NothingIsWrittenWithoutPrintSettingsOrBeforeInitialising) {
  {
    PanelFixture f;
    f.host.hasSettings = false;
    f.open().writeNonPPDSettingsToPrintSettings();
    EXPECT_EQ(f.host.settings.count(), 0);
  }
  {
    PanelFixture f;
    KorvelPrintPdeVx418JC& panel = f.make();
    ASSERT_FALSE(panel.hasInited);
    panel.writeNonPPDSettingsToPrintSettings();
    EXPECT_EQ(f.host.settings.count(), 0);
  }
}

TEST(PanelWriterTest, AHeldLoginNameIsWrittenNotItsBullets) {
  PanelFixture f;
  KorvelPrintPdeVx418JC& panel = f.open();
  ASSERT_TRUE(f.control("loginNameEditText").userType(u"operator"));
  ASSERT_TRUE(f.control("loginNameButton").userClick());
  ASSERT_EQ(f.control("loginNameEditText").stringValue(), std::u16string(8, u'\u2022'));
  panel.saveValuesAndReturnError(nullptr);
  EXPECT_EQ(f.host.settings.value(key("loginName11")), base64(aesFixedKey("operator")));
  EXPECT_EQ(f.host.settings.value(key("holdButton")), "2");
}

TEST(PanelWriterTest, HoldMaskCountsEveryHoldCheckBox) {
  PanelFixture f;
  f.env.capabilities.uiMode = 5;  // the layout with all nine check boxes
  KorvelPrintPdeVx418JC& panel = f.open();
  const char* boxes[] = {"suspendKeyButton", "loginNameButton",     "passwordButton",
                         "userNameButton",   "jobNameButton",       "folderPasswordButton",
                         "userNumberButton", "accountNumberButton", "folderNameButton"};
  for (const char* box : boxes) f.control(box).setState(1);
  panel.writeNonPPDSettingsToPrintSettings();
  EXPECT_EQ(f.host.settings.value(key("holdButton")), "511");
  for (const char* box : boxes) f.control(box).setState(0);
  panel.writeNonPPDSettingsToPrintSettings();
  EXPECT_EQ(f.host.settings.value(key("holdButton")), "0");
}

TEST(PanelWriterTest, ALayoutWithoutTheAuthenticationGroupRemovesItsEntries) {
  PanelFixture f;
  f.env.capabilities.uiMode = 4;
  const char* removed[] = {"Authentication", "loginName11", "loginName12",
                           "loginName01",    "loginName02", "password",
                           "password2",      "userNumber",  "userNumber2"};
  for (const char* k : removed) f.host.settings.setValue(key(k), "stale");
  KorvelPrintPdeVx418JC& panel = f.open();
  ASSERT_TRUE(f.control("accountNumberEditText").userType(u"77"));
  panel.saveValuesAndReturnError(nullptr);
  for (const char* k : removed) EXPECT_FALSE(f.host.settings.value(key(k))) << k;
  EXPECT_EQ(f.host.settings.value(key("accountNumber")), "00077");
  EXPECT_EQ(f.host.settings.value(key("filing")), "0");
  EXPECT_EQ(f.host.settings.value(key("jobSuspend")), "0");
}

}  // namespace
}  // namespace jc::test
