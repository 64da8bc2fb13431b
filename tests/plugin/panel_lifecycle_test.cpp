// The orders in which a print dialog drives the panel, and what each leaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "prefs/plist_values.h"
#include "settings/print_settings_keys.h"
#include "support/panel_fixture.h"
#include "support/recording_bundle.h"

namespace jc::test {
namespace {

constexpr const char* kDomain = "korvel.mfp.Sample_MFP";

// hasInited, callRestoreValuesFunction, callSaveValuesFunction, isPanelViewRetain.
using Flags = std::array<bool, 4>;
Flags flags(const KorvelPrintPdeVx418JC& p) {
  return {p.hasInited, p.callRestoreValuesFunction, p.callSaveValuesFunction, p.isPanelViewRetain};
}

// The stored preference dictionary's user name, or none before any store.
std::optional<std::u16string> storedUserName(const PanelFixture& f) {
  PlistPtr domain = f.store()->read(kDomain);
  return plist::string(plist::dict(domain.get(), "Job Control"), "user name");
}

std::vector<std::pair<std::string, std::string>> entries(const PrintSettings& settings) {
  std::vector<std::pair<std::string, std::string>> out;
  for (int i = 0; i < settings.count(); ++i)
    out.emplace_back(settings.options()[i].name, settings.options()[i].value);
  std::sort(out.begin(), out.end());
  return out;
}

TEST(PanelSmokeTest, OpensTheDefaultLayoutWithTheDefaults) {
  PanelFixture f;
  KorvelPrintPdeVx418JC& panel = f.open();
  ASSERT_NE(f.view(), nullptr);
  EXPECT_TRUE(panel.hasInited);
  EXPECT_EQ(panel.mfpURL, "localhost");
  EXPECT_EQ(f.control("printersAddressEditText").stringValue(), u"localhost");
  EXPECT_EQ(f.control("userNameEditText").stringValue(), u"Test User");
  EXPECT_EQ(panel.preferenceName, "korvel.mfp.Sample_MFP");
}

TEST(CallOrderTest, UsualOrderPrintsWithTheLastSaveAndStoresTheCurrentPanel) {
  PanelFixture f;
  KorvelPrintPdeVx418JC& panel = f.make();
  EXPECT_EQ(flags(panel), (Flags{false, false, false, false}));
  View* view = panel.panelView();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(flags(panel), (Flags{true, false, false, false}));
  panel.willShow();
  EXPECT_EQ(flags(panel), (Flags{true, false, false, false}));
  EXPECT_TRUE(panel.restoreValuesAndReturnError(nullptr));
  EXPECT_EQ(panel.panelView(), view);
  EXPECT_EQ(flags(panel), (Flags{true, true, false, false}));

  HeadlessControl& userName = f.control("userNameEditText");
  ASSERT_TRUE(userName.userClear());
  ASSERT_TRUE(userName.userType(u"Alice"));
  EXPECT_TRUE(panel.saveValuesAndReturnError(nullptr));
  EXPECT_EQ(flags(panel), (Flags{true, true, true, false}));
  const auto saved = entries(f.host.settings);
  ASSERT_TRUE(f.host.settings.value(keys::kUserName));

  // Changed after the save: print neither restores over it nor saves it again.
  userName.setStringValue(u"Bob");
  f.clock.set(f.clock.now() + 3600);
  EXPECT_TRUE(panel.shouldPrint());
  EXPECT_EQ(userName.stringValue(), u"Bob");
  EXPECT_EQ(entries(f.host.settings), saved);
  EXPECT_EQ(storedUserName(f), u"Bob");
  EXPECT_EQ(flags(panel), (Flags{true, true, true, false}));
}

TEST(CallOrderTest, PrintWithoutTheViewRestoresAndSavesFirst) {
  PanelFixture f;
  KorvelPrintPdeVx418JC& panel = f.make();
  EXPECT_TRUE(panel.shouldPrint());
  EXPECT_EQ(flags(panel), (Flags{true, true, true, true}));
  ASSERT_NE(f.view(), nullptr);
  EXPECT_EQ(f.control("userNameEditText").stringValue(), u"Test User");
  EXPECT_TRUE(f.host.settings.value(keys::kSpoolTime));
  EXPECT_TRUE(f.host.settings.value(keys::kUserName));
  EXPECT_EQ(storedUserName(f), u"Test User");
}

TEST(CallOrderTest, RestoreBeforeTheViewLoadsTheLayoutOnceAndKeepsIt) {
  PanelFixture f;
  auto bundle = std::make_shared<RecordingBundle>(f.env.bundle);
  f.env.bundle = bundle;
  KorvelPrintPdeVx418JC& panel = f.make();
  EXPECT_TRUE(panel.restoreValuesAndReturnError(nullptr));
  EXPECT_EQ(flags(panel), (Flags{true, true, false, true}));
  View* view = panel.panelView_.get();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(panel.panelView(), view);
  panel.willShow();
  EXPECT_EQ(bundle->layoutsAsked(), std::vector<std::string>{"JobControl2"});
}

TEST(CallOrderTest, RepeatedRestoreAndSaveWorkEachTimeButPrintSavesNoMore) {
  PanelFixture f;
  KorvelPrintPdeVx418JC& panel = f.open();
  HeadlessControl& userName = f.control("userNameEditText");

  userName.setStringValue(u"Carol");
  panel.saveValuesAndReturnError(nullptr);
  const auto firstSpool = f.host.settings.value(keys::kSpoolTime);
  f.clock.set(f.clock.now() + 60);
  panel.saveValuesAndReturnError(nullptr);
  EXPECT_NE(f.host.settings.value(keys::kSpoolTime), firstSpool);
  const auto lastSave = entries(f.host.settings);

  userName.setStringValue(u"Dave");
  panel.restoreValuesAndReturnError(nullptr);
  EXPECT_EQ(userName.stringValue(), u"Carol");

  userName.setStringValue(u"Eve");
  f.clock.set(f.clock.now() + 60);
  panel.shouldPrint();
  EXPECT_EQ(entries(f.host.settings), lastSave);
  EXPECT_EQ(userName.stringValue(), u"Eve");
}

TEST(CallOrderTest, SaveBeforeAnyViewWritesNothingYetCountsAsSaved) {
  PanelFixture f;
  KorvelPrintPdeVx418JC& panel = f.make();
  std::string error = "untouched";
  EXPECT_TRUE(panel.saveValuesAndReturnError(&error));
  EXPECT_EQ(error, "untouched");
  EXPECT_EQ(flags(panel), (Flags{false, false, true, false}));
  EXPECT_EQ(f.host.settings.count(), 0);

  EXPECT_TRUE(panel.shouldPrint());
  EXPECT_EQ(flags(panel), (Flags{true, true, true, true}));
  EXPECT_EQ(f.host.settings.count(), 0);
  EXPECT_EQ(storedUserName(f), u"Test User");
}

TEST(CallOrderTest, PrintTwiceOnAFreshPanelSavesOnceButStoresPreferencesBothTimes) {
  PanelFixture f;
  KorvelPrintPdeVx418JC& panel = f.make();
  panel.shouldPrint();
  EXPECT_EQ(storedUserName(f), u"Test User");
  EXPECT_EQ(panel.prefHoldButtonFlag, 0u);
  const auto firstSave = entries(f.host.settings);
  ASSERT_FALSE(firstSave.empty());

  f.control("userNameEditText").setStringValue(u"Changed");
  f.control("userNameButton").setState(1);  // hold the user name
  f.clock.set(f.clock.now() + 60);
  panel.shouldPrint();
  EXPECT_EQ(f.control("userNameEditText").stringValue(), u"Changed");  // no second restore
  EXPECT_EQ(entries(f.host.settings), firstSave);                      // no second save
  EXPECT_EQ(storedUserName(f), u"Changed");
  // ... and read back from the store.
  EXPECT_EQ(panel.prefHoldButtonFlag, 8u);
  EXPECT_EQ(panel.prefUserNameStringRef, u"Changed");
}

TEST(CallOrderTest, PrintWithoutPrintSettingsStoresNoPreferences) {
  PanelFixture f;
  f.host.hasSettings = false;
  KorvelPrintPdeVx418JC& panel = f.make();
  EXPECT_TRUE(panel.shouldPrint());
  EXPECT_EQ(flags(panel), (Flags{true, true, true, true}));
  EXPECT_EQ(storedUserName(f), std::nullopt);
}

TEST(PanelNameTest, TranslatesOnceAndAnswersTheSameName) {
  PanelFixture f;
  auto bundle = std::make_shared<RecordingBundle>(testBundle("ja"));
  f.env.bundle = bundle;
  KorvelPrintPdeVx418JC& panel = f.make();
  EXPECT_EQ(panel.panelName(), u"ジョブコントロール");
  EXPECT_EQ(panel.panelName(), u"ジョブコントロール");
  EXPECT_EQ(bundle->translations(u"Job Control"), 1);
}

TEST(UiModeTest, ModesOneToFiveLoadTheirLayouts) {
  const char* layouts[] = {"JobControl", "JobControl2", "JobControl3", "JobControl4",
                           "JobControl5"};
  for (int mode = 1; mode <= 5; ++mode) {
    PanelFixture f;
    auto bundle = std::make_shared<RecordingBundle>(f.env.bundle);
    f.env.bundle = bundle;
    f.env.capabilities.uiMode = mode;
    f.open();
    EXPECT_EQ(bundle->layoutsAsked(), std::vector<std::string>{layouts[mode - 1]}) << mode;
    ASSERT_NE(f.view(), nullptr) << mode;
    EXPECT_EQ(f.panel->retentionCheckBox.get(), f.view()->control("retentionCheckBox")) << mode;
  }
}

// Modes outside 1..5 and a host that draws nothing leave the panel without controls.
TEST(UiModeTest, WithoutALayoutThePanelStillInitialisesRestoresAndSaves) {
  struct Case {
    const char* name;
    std::int64_t mode;
    bool toolkit;
    bool layoutFile;
  };
  for (const Case c :
       {Case{"mode 0", 0, true, true}, Case{"mode 6", 6, true, true},
        Case{"no toolkit", 2, false, true}, Case{"no layout file", 2, true, false}}) {
    SCOPED_TRACE(c.name);
    PanelFixture f;
    auto bundle = std::make_shared<RecordingBundle>(f.env.bundle);
    f.env.bundle = bundle;
    f.env.capabilities.uiMode = c.mode;
    f.host.withToolkit = c.toolkit;
    if (!c.layoutFile) bundle->layoutOverrides["JobControl2"] = f.dir.path() / "missing.ui";
    KorvelPrintPdeVx418JC& panel = f.make();
    EXPECT_EQ(panel.panelView(), nullptr);
    EXPECT_TRUE(panel.hasInited);
    if (c.mode != 2) {
      EXPECT_TRUE(bundle->layoutsAsked().empty());
    }
    panel.willShow();
    EXPECT_TRUE(panel.restoreValuesAndReturnError(nullptr));
    EXPECT_TRUE(panel.saveValuesAndReturnError(nullptr));
    EXPECT_TRUE(panel.shouldPrint());
    EXPECT_EQ(panel.panelView(), nullptr);
    EXPECT_TRUE(panel.summaryInfo().empty());
  }
}

}  // namespace
}  // namespace jc::test
