// What the user's changes do to the other choices: retention resets its
// group, quick file and the hold modes exclude each other, the custom folder
// keeps its fields, switching authentication empties the other mode and
// places the focus, and holding the login name masks it.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "support/case_names.h"
#include "support/panel_states.h"

namespace jc::test {
namespace {

void typeInto(PanelFixture& f, const char* field, std::u16string_view text) {
  ASSERT_TRUE(f.control(field).userType(text)) << field;
}
void click(PanelFixture& f, const char* name) { ASSERT_TRUE(f.control(name).userClick()) << name; }
void selectRow(PanelFixture& f, const char* matrix, int row) {
  ASSERT_TRUE(f.control(matrix).userSelectRow(row)) << matrix << " row " << row;
}
void selectItem(PanelFixture& f, int index) {
  ASSERT_TRUE(f.control("folderSelectionPopup").userSelectItem(index)) << index;
}
std::u16string text(PanelFixture& f, const char* field) { return f.control(field).stringValue(); }
const char* focusName(PanelFixture& f) {
  const HeadlessControl* c = f.view()->focusedControl();
  return c ? c->name().c_str() : "(none)";
}
// The folder-matrix layout with retention on, the custom folder chosen and
// both of its fields typed.
void customFolderTyped(PanelFixture& f) {
  openPanel(f, 3);
  click(f, "retentionCheckBox");
  selectRow(f, "folderSelectionMatrix", 2);
  typeInto(f, "folderNameEditText", u"Box");
  typeInto(f, "folderPasswordEditText", u"42");
}

TEST(RetentionActionTest, TurningOffResetsTheGroupButHeldFieldsKeepTheirText) {
  PanelFixture f;
  openPanel(f, 5);
  click(f, "retentionCheckBox");
  selectRow(f, "suspendMatrix", 2);
  selectRow(f, "folderSelectionMatrix", 2);
  typeInto(f, "suspendKeyEditText", u"123");
  click(f, "suspendKeyButton");
  typeInto(f, "folderNameEditText", u"Box");
  typeInto(f, "folderPasswordEditText", u"42");
  click(f, "folderPasswordButton");
  selectItem(f, 0);  // quick file: hold mode row 1, the held pass code stays
  EXPECT_EQ(f.control("suspendMatrix").selectedRow(), 1);
  EXPECT_EQ(text(f, "suspendKeyEditText"), u"123");

  click(f, "retentionCheckBox");
  EXPECT_EQ(f.control("folderSelectionPopup").indexOfSelectedItem(), 1);
  EXPECT_EQ(f.control("folderSelectionMatrix").selectedRow(), 2);  // not quick file: left
  EXPECT_EQ(f.control("suspendMatrix").selectedRow(), 0);
  EXPECT_EQ(text(f, "suspendKeyEditText"), u"123");
  EXPECT_EQ(text(f, "folderPasswordEditText"), u"42");
  EXPECT_EQ(text(f, "folderNameEditText"), u"");
  for (const char* name : {"suspendKeyEditText", "folderPasswordEditText", "folderNameEditText",
                           "suspendKeyButton", "folderPasswordButton", "folderNameButton"})
    EXPECT_FALSE(shownEnabled(f.control(name))) << name;
  EXPECT_EQ(f.control("suspendKeyButton").state(), 1);
  EXPECT_EQ(f.control("folderPasswordButton").state(), 1);

  // On again: the values stay, the group is usable; held fields stay frozen.
  click(f, "retentionCheckBox");
  EXPECT_EQ(f.control("suspendMatrix").selectedRow(), 0);
  EXPECT_EQ(f.control("folderSelectionMatrix").selectedRow(), 2);
  EXPECT_EQ(text(f, "suspendKeyEditText"), u"123");
  EXPECT_EQ(text(f, "folderPasswordEditText"), u"42");
  EXPECT_TRUE(shownEnabled(f.control("suspendMatrix")));
  EXPECT_TRUE(shownEnabled(f.control("folderNameEditText")));
  EXPECT_TRUE(shownEnabled(f.control("suspendKeyButton")));
  EXPECT_FALSE(shownEnabled(f.control("suspendKeyEditText")));
}

TEST(RetentionActionTest, TurningOffLeavesQuickFileOfTheMatrixForTheMainFolder) {
  PanelFixture f;
  customFolderTyped(f);
  selectRow(f, "folderSelectionMatrix", 0);
  EXPECT_EQ(text(f, "folderNameEditText"), u"");
  click(f, "retentionCheckBox");
  EXPECT_EQ(f.control("folderSelectionMatrix").selectedRow(), 1);
  EXPECT_EQ(f.control("suspendMatrix").selectedRow(), 0);
  EXPECT_EQ(text(f, "folderPasswordEditText"), u"");
}

// Quick file only goes with hold-mode row 1.
struct QuickFileCase {
  int uiMode;
  int startRow;
  bool passCodeHeld;
};

void PrintTo(const QuickFileCase& c, std::ostream* os) {
  *os << "layout " << c.uiMode << ", row " << c.startRow << (c.passCodeHeld ? ", held" : "");
}

class QuickFileActionTest : public ::testing::TestWithParam<QuickFileCase> {};

TEST_P(QuickFileActionTest, ForcesHoldModeRow1AndEmptiesAnUnheldPassCode) {
  const QuickFileCase& c = GetParam();
  PanelFixture f;
  openPanel(f, c.uiMode);
  click(f, "retentionCheckBox");
  selectRow(f, "suspendMatrix", c.startRow);
  typeInto(f, "suspendKeyEditText", u"12345");
  if (c.passCodeHeld) click(f, "suspendKeyButton");
  if (c.uiMode == 3)
    selectRow(f, "folderSelectionMatrix", 0);
  else
    selectItem(f, 0);
  EXPECT_EQ(f.control("suspendMatrix").selectedRow(), 1);
  EXPECT_EQ(text(f, "suspendKeyEditText"), c.passCodeHeld ? u"12345" : u"");
  EXPECT_FALSE(shownEnabled(f.control("suspendKeyEditText")));
  EXPECT_FALSE(shownEnabled(f.control("suspendKeyButton")));
}

INSTANTIATE_TEST_SUITE_P(Choices, QuickFileActionTest,
                         ::testing::Values(QuickFileCase{2, 0, false}, QuickFileCase{2, 2, false},
                                           QuickFileCase{2, 1, false}, QuickFileCase{2, 0, true},
                                           QuickFileCase{3, 0, false}, QuickFileCase{3, 2, true},
                                           QuickFileCase{5, 2, false}, QuickFileCase{5, 0, true}));

class HoldModeActionTest : public ::testing::TestWithParam<int> {};

TEST_P(HoldModeActionTest, Rows0And2LeaveQuickFileRow1KeepsIt) {
  const int mode = GetParam();
  for (const int row : {0, 1, 2}) {
    PanelFixture f;
    openPanel(f, mode);
    click(f, "retentionCheckBox");
    if (f.panel->folderSelectionPopup) selectItem(f, 0);
    if (f.panel->folderSelectionMatrix) selectRow(f, "folderSelectionMatrix", 0);
    selectRow(f, "suspendMatrix", row);
    const bool leaves = row != 1;
    if (f.panel->folderSelectionPopup) {
      EXPECT_EQ(f.control("folderSelectionPopup").indexOfSelectedItem(), leaves ? 1 : 0) << row;
    }
    if (f.panel->folderSelectionMatrix) {
      EXPECT_EQ(f.control("folderSelectionMatrix").selectedRow(), leaves ? 1 : 0) << row;
    }
    EXPECT_EQ(f.control("suspendMatrix").selectedRow(), row);
    EXPECT_EQ(shownEnabled(f.control("suspendKeyEditText")), leaves) << row;
  }
}

INSTANTIATE_TEST_SUITE_P(FolderLayouts, HoldModeActionTest, ::testing::Values(2, 3, 5));

TEST(FolderMatrixActionTest, CustomFolderKeepsNameAndPassCode) {
  PanelFixture f;
  customFolderTyped(f);
  selectRow(f, "folderSelectionMatrix", 2);
  EXPECT_EQ(text(f, "folderNameEditText"), u"Box");
  EXPECT_EQ(text(f, "folderPasswordEditText"), u"42");
  click(f, "folderNameButton");
  selectRow(f, "folderSelectionMatrix", 1);
  EXPECT_EQ(text(f, "folderNameEditText"), u"Box");  // held
  EXPECT_EQ(text(f, "folderPasswordEditText"), u"");
  EXPECT_EQ(f.control("suspendMatrix").selectedRow(), 0);  // the main folder moves no hold mode
  selectRow(f, "folderSelectionMatrix", 2);
  click(f, "folderNameButton");
  selectRow(f, "folderSelectionMatrix", 0);
  EXPECT_EQ(text(f, "folderNameEditText"), u"");
  EXPECT_EQ(f.control("suspendMatrix").selectedRow(), 1);
}

TEST(FolderPopUpActionTest, ADeviceFolderChangesNoValue) {
  PanelFixture f;
  openPanel(f, 2, FolderList{{u"Open", false}, {u"Locked", true}});
  click(f, "retentionCheckBox");
  selectRow(f, "suspendMatrix", 2);
  typeInto(f, "suspendKeyEditText", u"777");
  selectItem(f, 4);
  typeInto(f, "folderPasswordEditText", u"42");
  selectItem(f, 3);
  EXPECT_EQ(f.control("suspendMatrix").selectedRow(), 2);
  EXPECT_EQ(text(f, "suspendKeyEditText"), u"777");
  EXPECT_EQ(text(f, "folderPasswordEditText"), u"42");  // kept, though disabled now
  EXPECT_FALSE(shownEnabled(f.control("folderPasswordEditText")));
}

TEST(AuthenticationActionTest, SwitchingEmptiesTheOtherModeAndPlacesTheFocus) {
  PanelFixture f;
  openPanel(f, 2);
  typeInto(f, "loginNameEditText", u"alice");
  typeInto(f, "passwordEditText", u"pw");
  selectRow(f, "authenticationMatrix", 1);
  EXPECT_EQ(text(f, "loginNameEditText"), u"");
  EXPECT_EQ(text(f, "passwordEditText"), u"");
  EXPECT_STREQ(focusName(f), "userNumberEditText");
  typeInto(f, "userNumberEditText", u"77");
  typeInto(f, "accountNumberEditText", u"5");
  selectRow(f, "authenticationMatrix", 0);
  EXPECT_EQ(text(f, "userNumberEditText"), u"");
  EXPECT_EQ(text(f, "accountNumberEditText"), u"5");
  EXPECT_STREQ(focusName(f), "loginNameEditText");
}

TEST(AuthenticationActionTest, HeldFieldsSurviveTheSwitchAndTheFocusSkipsThem) {
  PanelFixture f;
  openPanel(f, 2);
  typeInto(f, "loginNameEditText", u"alice");
  click(f, "loginNameButton");
  typeInto(f, "passwordEditText", u"pw");
  selectRow(f, "authenticationMatrix", 1);
  EXPECT_EQ(text(f, "loginNameEditText"), u"\u2022\u2022\u2022\u2022\u2022");
  EXPECT_EQ(f.panel->loginNameStringRef, u"alice");
  EXPECT_EQ(text(f, "passwordEditText"), u"");
  typeInto(f, "userNumberEditText", u"77");
  click(f, "userNumberButton");
  selectRow(f, "authenticationMatrix", 0);
  EXPECT_EQ(text(f, "userNumberEditText"), u"77");
  EXPECT_STREQ(focusName(f), "passwordEditText");  // the login name is held
  click(f, "passwordButton");
  selectRow(f, "authenticationMatrix", 1);
  EXPECT_STREQ(focusName(f), "(none)");  // the user number is held
  selectRow(f, "authenticationMatrix", 0);
  EXPECT_STREQ(focusName(f), "(none)");  // both login fields are held
  EXPECT_EQ(f.panel->loginNameStringRef, u"alice");
}

struct MaskCase {
  const char* what;
  std::u16string name;
  std::size_t bullets;
};

void PrintTo(const MaskCase& c, std::ostream* os) { *os << c.what; }

class LoginNameMaskTest : public ::testing::TestWithParam<MaskCase> {};

TEST_P(LoginNameMaskTest, OneBulletPerUnitAndReleaseEmpties) {
  const MaskCase& c = GetParam();
  PanelFixture f;
  KorvelPrintPdeVx418JC& panel = openPanel(f, 2);
  typeInto(f, "loginNameEditText", c.name);
  click(f, "loginNameButton");
  EXPECT_EQ(text(f, "loginNameEditText"), std::u16string(c.bullets, u'\u2022'));
  EXPECT_EQ(panel.loginNameStringRef, c.name);
  EXPECT_TRUE(panel.loginNameLockFlag);
  EXPECT_FALSE(shownEnabled(f.control("loginNameEditText")));

  // Running the action again while held keeps the unmasked name.
  panel.loginNameButtonProc();
  panel.performAction("loginNameButtonProc:");
  EXPECT_EQ(panel.loginNameStringRef, c.name);
  EXPECT_EQ(text(f, "loginNameEditText"), std::u16string(c.bullets, u'\u2022'));

  click(f, "loginNameButton");
  EXPECT_EQ(text(f, "loginNameEditText"), u"");
  EXPECT_FALSE(panel.loginNameStringRef);
  EXPECT_FALSE(panel.loginNameLockFlag);
  EXPECT_FALSE(panel.loginNameUnLockFlag);
  EXPECT_TRUE(shownEnabled(f.control("loginNameEditText")));
  EXPECT_STREQ(focusName(f), "loginNameEditText");
}

INSTANTIATE_TEST_SUITE_P(Names, LoginNameMaskTest,
                         ::testing::Values(MaskCase{"five letters", u"alice", 5},
                                           MaskCase{"empty", u"", 0},
                                           MaskCase{"kanji", u"\u65E5\u672C", 2},
                                           MaskCase{"surrogate pair", u"\U0001F600x", 3},
                                           MaskCase{"spaces", u"a b ", 4}),
                         NameFromWhat());

TEST(LoginNameMaskTest, WithTheBoxOffTheActionAlwaysEmptiesTheField) {
  PanelFixture f;
  KorvelPrintPdeVx418JC& panel = openPanel(f, 2);
  typeInto(f, "loginNameEditText", u"bob");
  panel.loginNameButtonProc();
  EXPECT_EQ(text(f, "loginNameEditText"), u"");
  EXPECT_FALSE(panel.loginNameStringRef);
}

TEST(LoginNameMaskTest, ReleasingInUserNumberModeLeavesTheFieldDisabled) {
  PanelFixture f;
  KorvelPrintPdeVx418JC& panel = openPanel(f, 2);
  typeInto(f, "loginNameEditText", u"carol");
  click(f, "loginNameButton");
  selectRow(f, "authenticationMatrix", 1);
  // The check box is disabled in this mode; the program releases the hold.
  f.control("loginNameButton").setState(0);
  panel.loginNameButtonProc();
  EXPECT_EQ(text(f, "loginNameEditText"), u"");
  EXPECT_FALSE(shownEnabled(f.control("loginNameEditText")));
}

// Releasing any other hold leaves the text in place and the field editable.
struct HoldCase {
  const char* field;
  const char* box;
  int uiMode;
  std::function<void(PanelFixture&)> activate;
};

void PrintTo(const HoldCase& c, std::ostream* os) { *os << c.box; }

class HoldReleaseTest : public ::testing::TestWithParam<HoldCase> {};

TEST_P(HoldReleaseTest, KeepsTheTextAndMakesTheFieldEditable) {
  const HoldCase& c = GetParam();
  PanelFixture f;
  openPanel(f, c.uiMode, FolderList{{u"Locked", true}});
  c.activate(f);
  f.control(c.field).userClear();
  typeInto(f, c.field, u"321");
  click(f, c.box);
  EXPECT_FALSE(shownEnabled(f.control(c.field))) << c.field;
  EXPECT_TRUE(shownEnabled(f.control(c.box))) << c.box;
  EXPECT_EQ(text(f, c.field), u"321");
  click(f, c.box);
  EXPECT_TRUE(shownEnabled(f.control(c.field))) << c.field;
  EXPECT_EQ(text(f, c.field), u"321");
  EXPECT_STREQ(focusName(f), c.field);
}

void retentionOn(PanelFixture& f) { click(f, "retentionCheckBox"); }

INSTANTIATE_TEST_SUITE_P(
    Fields, HoldReleaseTest,
    ::testing::Values(HoldCase{"suspendKeyEditText", "suspendKeyButton", 2, retentionOn},
                      HoldCase{"folderPasswordEditText", "folderPasswordButton", 2,
                               [](PanelFixture& f) {
                                 retentionOn(f);
                                 selectItem(f, 3);
                               }},
                      HoldCase{"folderNameEditText", "folderNameButton", 3,
                               [](PanelFixture& f) {
                                 retentionOn(f);
                                 selectRow(f, "folderSelectionMatrix", 2);
                               }},
                      HoldCase{"passwordEditText", "passwordButton", 2, [](PanelFixture&) {}},
                      HoldCase{"userNumberEditText", "userNumberButton", 2,
                               [](PanelFixture& f) { selectRow(f, "authenticationMatrix", 1); }},
                      HoldCase{"accountNumberEditText", "accountNumberButton", 2,
                               [](PanelFixture&) {}},
                      HoldCase{"userNameEditText", "userNameButton", 2, [](PanelFixture&) {}},
                      HoldCase{"jobNameEditText", "jobNameButton", 2, [](PanelFixture&) {}}),
    [](const auto& info) { return std::string(info.param.box); });

}  // namespace
}  // namespace jc::test
