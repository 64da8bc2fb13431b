// The controls' set-up: texts, filters, lock images, the address, once per
// panel, on every layout and on layouts with controls missing.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/text.h"
#include "support/panel_fixture.h"
#include "support/test_layouts.h"
#include "ui/input_filters.h"

namespace jc::test {
namespace {

const std::vector<std::string> kActionMethods = {
    "tabProc:",
    "retentionCBoxProc:",
    "suspendKeyMatrixProc:",
    "suspendKeyETextProc:",
    "suspendKeyButtonProc:",
    "folderSelectionPopUpButtonProc:",
    "folderPasswordETextProc:",
    "folderPasswordButtonProc:",
    "folderNameButtonProc:",
    "folderSelectionMatrixProc:",
    "authenticationMatrixProc:",
    "loginNameETextProc:",
    "loginNameButtonProc:",
    "passwordETextProc:",
    "passwordButtonProc:",
    "userNumberETextProc:",
    "userNumberButtonProc:",
    "userNameETextProc:",
    "userNameButtonProc:",
    "jobNameETextProc:",
    "jobNameButtonProc:",
    "accountNumberETextProc:",
    "accountNumberButtonProc:",
    "printersAddressButtonProc:",
    "getFolderNameButtonProc:",
};

const std::vector<std::string> kHoldBoxes = {
    "suspendKeyButton", "folderPasswordButton", "loginNameButton",
    "passwordButton",   "userNumberButton",     "accountNumberButton",
    "userNameButton",   "jobNameButton",        "folderNameButton"};

// Everything a user could see of the view, one control a line, with the
// identity of its formatter and images so that replacing them shows.
std::string describe(const HeadlessView& view) {
  std::ostringstream out;
  for (const ControlSnapshot& s : view.snapshot()) {
    const HeadlessControl& c = *view.control(s.name);
    out << s.name << " enabled=" << s.enabled << " hidden=" << s.hidden;
    if (s.state) out << " state=" << *s.state;
    if (s.selectedRow) out << " row=" << *s.selectedRow;
    if (s.selectedIndex) out << " index=" << *s.selectedIndex;
    if (s.text) out << " text=" << toUtf8(*s.text);
    if (s.items)
      for (const ItemSnapshot& i : *s.items) out << " [" << toUtf8(i.title) << i.iconType << "]";
    out << " formatter=" << c.formatter() << " image=" << c.image().get()
        << " alternate=" << c.alternateImage().get();
    for (int i = 0; i < c.numberOfItems(); ++i)
      out << " item" << i << "=" << c.itemAtIndex(i)->image;
    out << "\n";
  }
  return out.str();
}

TEST(InitializeUITest, ASecondCallChangesNothing) {
  PanelFixture f;
  f.env.bundle = testBundle("ja");
  KorvelPrintPdeVx418JC& panel = f.make();
  panel.panelView();
  ASSERT_TRUE(panel.hasInited);
  const std::string first = describe(*f.view());
  f.control("tabView").userSelectTab(2);
  const std::string shown = describe(*f.view());
  panel.initializeUI();
  panel.panelView();
  EXPECT_EQ(describe(*f.view()), shown);
  EXPECT_NE(first, shown);  // the user's tab stays: nothing re-selects the first one
}

TEST(InitializeUITest, LocalizesTextsAndKeepsTheColon) {
  PanelFixture f;
  f.env.bundle = testBundle("ja");
  f.make().panelView();
  EXPECT_EQ(f.control("retentionCheckBox").title(), u"リテンション");
  EXPECT_EQ(f.control("suspendBox").title(), u"ホールドモード");
  EXPECT_EQ(f.control("holdAfterRadioButton").title(), u"印刷後ホールド");
  EXPECT_EQ(f.control("suspendKeyStaticText").stringValue(), u"パスコード:");
  EXPECT_EQ(f.control("folderPasswordStaticText").stringValue(), u"フォルダーパスコード:");
  EXPECT_EQ(f.control("userNumberRadioButton").title(), u"ユーザー番号");
  EXPECT_EQ(f.control("getFolderNameButton").title(), u"フォルダー名を取得");
  EXPECT_EQ(f.control("jobIDBox").title(), u"ジョブID");
  EXPECT_EQ(f.control("folderSelectionPopup").itemAtIndex(0)->title, u"クイックファイル");
  EXPECT_EQ(f.control("folderSelectionPopup").itemAtIndex(1)->title, u"メインフォルダー");
  // Edit fields keep their (empty) texts; the address shows the printer's host.
  EXPECT_EQ(f.control("loginNameEditText").stringValue(), u"");
  EXPECT_EQ(f.control("printersAddressEditText").stringValue(), u"localhost");
}

TEST(InitializeUITest, LocalizesTheFirstThreeTabsAndShowsTheFirst) {
  PanelFixture f;
  f.env.bundle =
      std::make_shared<OneLayoutBundle>(testBundle("ja"), testDataPath("layouts/FiveTabs.ui"));
  f.host.uri.reset();  // no printer address: the field keeps the layout's text
  f.make().panelView();
  HeadlessControl& tabs = f.control("tabView");
  ASSERT_EQ(tabs.numberOfTabViewItems(), 5);
  EXPECT_EQ(tabs.tabLabel(0), u"リテンション/ファイリング");
  EXPECT_EQ(tabs.tabLabel(1), u"ユーザー認証");
  EXPECT_EQ(tabs.tabLabel(2), u"ジョブID");
  EXPECT_EQ(tabs.tabLabel(3), u"Retention");
  EXPECT_EQ(tabs.tabLabel(4), u"Filing:");
  EXPECT_EQ(tabs.selectedTabIndex(), 0);
  EXPECT_EQ(f.control("printersAddressEditText").stringValue(), u"printer.example");
  EXPECT_FALSE(f.panel->mfpURL);
}

TEST(InitializeUITest, HoldBoxesShowOpenAndClosedLocks) {
  PanelFixture f;
  f.env.capabilities.uiMode = 5;
  f.make().panelView();
  std::vector<const Image*> seen;
  for (const std::string& name : kHoldBoxes) {
    HeadlessControl& box = f.control(name);
    ASSERT_TRUE(box.image()) << name;
    ASSERT_TRUE(box.alternateImage()) << name;
    EXPECT_EQ(*box.image(), (Image{fourCharCode("ulck"), {}, 18, 18})) << name;
    EXPECT_EQ(*box.alternateImage(), (Image{fourCharCode("lock"), {}, 18, 18})) << name;
    seen.push_back(box.image().get());
    seen.push_back(box.alternateImage().get());
  }
  // Each box keeps images of its own.
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end());
  EXPECT_FALSE(f.control("retentionCheckBox").image());
}

TEST(InitializeUITest, AttachesTheFiltersWithTheirLimits) {
  PanelFixture f;
  f.env.capabilities.uiMode = 5;
  f.make().panelView();
  for (const char* name : {"suspendKeyEditText", "folderPasswordEditText", "userNumberEditText",
                           "accountNumberEditText"}) {
    const auto* filter = dynamic_cast<const MyIntegerNumberFilter*>(f.control(name).formatter());
    ASSERT_NE(filter, nullptr) << name;
    EXPECT_EQ(filter->maxValue, 5u) << name;
  }
  const auto* roman = dynamic_cast<const MyRomanFilter*>(f.control("passwordEditText").formatter());
  ASSERT_NE(roman, nullptr);
  EXPECT_EQ(roman->maxValue, 31u);
  const auto* login =
      dynamic_cast<const LoginnameInputFilter*>(f.control("loginNameEditText").formatter());
  ASSERT_NE(login, nullptr);
  EXPECT_EQ(login->m_context, f.panel.get());
  for (const char* name :
       {"folderNameEditText", "userNameEditText", "jobNameEditText", "printersAddressEditText"})
    EXPECT_EQ(f.control(name).formatter(), nullptr) << name;
}

// Set-up sets no state and runs no rule: until restore, the controls are as
// the layout made them, except the progress indicator, which is hidden.
TEST(InitializeUITest, LeavesStatesToRestore) {
  PanelFixture f;
  f.make().panelView();
  EXPECT_TRUE(f.control("chasingArrow").isHidden());
  EXPECT_EQ(f.control("retentionCheckBox").state(), 0);
  EXPECT_TRUE(f.control("suspendMatrix").isEnabled());
  EXPECT_TRUE(f.control("suspendKeyEditText").isEditable());
  EXPECT_TRUE(f.control("folderSelectionPopup").isEnabled());
  EXPECT_EQ(f.view()->focusedControl(), nullptr);
  EXPECT_TRUE(f.control("retentionCheckBox").isEnabled());
}

TEST(InitializeUITest, OldestDesktopWithoutStorageDisablesRetention) {
  for (const bool hardDisk : {false, true}) {
    PanelFixture f;
    f.env.capabilities.tiger = true;
    f.env.capabilities.hardDisk = hardDisk;
    f.make().panelView();
    EXPECT_EQ(f.panel->tigerHDDFlag, hardDisk);
    EXPECT_EQ(f.control("retentionCheckBox").isEnabled(), hardDisk);
  }
}

// Every layout the build knows opens, and every action method runs on it.
class LayoutModeTest : public ::testing::TestWithParam<int> {};

TEST_P(LayoutModeTest, OpensAndRunsEveryAction) {
  PanelFixture f;
  f.env.capabilities.uiMode = GetParam();
  f.env.soapLimits.timeout = std::chrono::milliseconds(200);
  f.host.uri = "socket://127.0.0.1:9";  // the folder-list button fails at once
  KorvelPrintPdeVx418JC& panel = f.open();
  ASSERT_NE(f.view(), nullptr);
  EXPECT_TRUE(panel.hasInited);
  EXPECT_EQ(f.control("tabView").selectedTabIndex(), 0);
  for (const std::string& action : kActionMethods) {
    EXPECT_TRUE(panel.performAction(action)) << action;
    EXPECT_TRUE(panel.performAction(action, nullptr)) << action;
  }
  EXPECT_FALSE(panel.performAction("noSuchProc:"));
  EXPECT_TRUE(panel.saveValuesAndReturnError(nullptr));
}

INSTANTIATE_TEST_SUITE_P(JobControlLayouts, LayoutModeTest, ::testing::Values(1, 2, 3, 4, 5));

TEST(LayoutModeTest, UnknownModeLoadsNoLayoutButStillInitializes) {
  for (const int mode : {0, 6, -1}) {
    PanelFixture f;
    f.env.capabilities.uiMode = mode;
    KorvelPrintPdeVx418JC& panel = f.open();
    EXPECT_EQ(panel.panelView(), nullptr) << mode;
    EXPECT_TRUE(panel.hasInited) << mode;
    for (const std::string& action : kActionMethods) panel.performAction(action);
  }
}

// A layout without any one of the panel's controls sets up the rest and runs
// every action; the missing control is skipped.
class MissingControlTest : public ::testing::TestWithParam<std::string> {};

TEST_P(MissingControlTest, InitializesTheRestAndRunsTheRules) {
  PanelFixture f;
  const std::string& missing = GetParam();
  f.env.capabilities.uiMode = 5;
  f.env.bundle = std::make_shared<OneLayoutBundle>(
      testBundle("ja"), layoutWithout(f.dir.path(), "JobControl5", {missing}));
  f.host.uri = "socket://127.0.0.1:9";
  f.env.soapLimits.timeout = std::chrono::milliseconds(200);
  KorvelPrintPdeVx418JC& panel = f.open();
  ASSERT_NE(f.view(), nullptr);
  EXPECT_FALSE(panel.outlet(missing));
  EXPECT_TRUE(panel.hasInited);
  for (const std::string& action : kActionMethods) panel.performAction(action);
  // Set-up went on past the missing control: the last steps were done.
  if (missing != "getFolderNameButton") {
    EXPECT_EQ(f.control("getFolderNameButton").title(), u"フォルダー名を取得");
  }
  if (missing != "chasingArrow") {
    EXPECT_TRUE(f.control("chasingArrow").isHidden());
  }
  if (missing != "folderNameButton") {
    EXPECT_TRUE(f.control("folderNameButton").image());
  }
  // The rules still govern the controls that are there.
  if (missing != "retentionCheckBox" && missing != "suspendMatrix") {
    EXPECT_FALSE(f.control("suspendMatrix").isEnabled());
    f.control("retentionCheckBox").userClick();
    EXPECT_TRUE(f.control("suspendMatrix").isEnabled());
  }
  EXPECT_TRUE(panel.saveValuesAndReturnError(nullptr));
}

std::vector<std::string> outletsOfJobControl5() {
  std::vector<std::string> names;
  for (const std::string& name : panelOutletNames())
    if (name != "userNumberMatrix") names.push_back(name);  // no layout has it
  return names;
}

INSTANTIATE_TEST_SUITE_P(EachOutlet, MissingControlTest,
                         ::testing::ValuesIn(outletsOfJobControl5()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace jc::test
