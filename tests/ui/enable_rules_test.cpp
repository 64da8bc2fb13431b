// Which controls each action re-draws, and the enabled states that follow
// from retention, the folder choice, the authentication mode and the holds.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "support/case_names.h"
#include "support/panel_states.h"
#include "support/test_layouts.h"

namespace jc::test {
namespace {

using Names = std::vector<std::string>;

Names join(std::initializer_list<Names> lists) {
  Names all;
  for (const Names& l : lists) all.insert(all.end(), l.begin(), l.end());
  return all;
}

// The controls that go together, in the order of kWatched.
const Names kPassCode = {"suspendKeyStaticText", "suspendKeyEditText", "suspendKeyButton"};
const Names kFolderPassCode = {"folderPasswordStaticText", "folderPasswordEditText",
                               "folderPasswordButton"};
const Names kFolderName = {"folderNameEditText", "folderNameButton"};
const Names kLogin = {"loginNameStaticText", "loginNameEditText", "loginNameButton",
                      "passwordStaticText",  "passwordEditText",  "passwordButton"};
const Names kUserNumber = {"userNumberEditText", "userNumberButton"};
const Names kJobId = {"userNameEditText", "jobNameEditText", "accountNumberEditText"};
const Names kRetentionControls = join({{"suspendMatrix"},
                                       kPassCode,
                                       {"folderSelectionStaticText", "folderSelectionPopup"},
                                       kFolderPassCode,
                                       {"folderSelectionMatrix"},
                                       kFolderName});
const Names kAuthenticationControls = join({kLogin, kUserNumber});

// Every control whose enabled look a rule could set, and the ones no rule
// governs.
const Names kWatched = join(
    {kRetentionControls,
     kAuthenticationControls,
     kJobId,
     {"accountNumberButton", "retentionCheckBox", "authenticationMatrix", "userNameButton",
      "jobNameButton", "accountNumberStaticText", "userNameStaticText", "jobNameStaticText",
      "printersAddressStaticText", "printersAddressEditText", "getFolderNameButton", "tabView"}});

// Draws every watched control enabled or disabled behind the rules' back.
void paintAll(const HeadlessView& view, bool enabled) {
  for (const std::string& name : kWatched) {
    HeadlessControl* c = view.control(name);
    if (!c) continue;
    if (c->kind() == ControlKind::Label || c->kind() == ControlKind::EditField) {
      c->setEditable(enabled);
      c->setSelectable(enabled);
      c->setTextColor(enabled ? TextColor::Black : TextColor::Gray);
    } else {
      c->setEnabled(enabled);
    }
  }
}

// The controls an action re-draws: run it once over an all-enabled panel and
// once over an all-disabled one; a control it governs ends the same both
// times, any other keeps the paint.
Names redrawnBy(PanelFixture& f, const std::string& action) {
  std::map<std::string, bool> afterEnabled;
  paintAll(*f.view(), true);
  f.panel->performAction(action);
  for (const std::string& name : kWatched)
    if (HeadlessControl* c = f.view()->control(name)) afterEnabled[name] = shownEnabled(*c);
  paintAll(*f.view(), false);
  f.panel->performAction(action);
  Names redrawn;
  for (const std::string& name : kWatched)
    if (HeadlessControl* c = f.view()->control(name); c && afterEnabled[name] == shownEnabled(*c))
      redrawn.push_back(name);
  return redrawn;
}

struct RuleListCase {
  std::string action;
  Names controls;  // in the order of kWatched
};

void PrintTo(const RuleListCase& c, std::ostream* os) { *os << c.action; }

class RuleListTest : public ::testing::TestWithParam<RuleListCase> {};

// On the layout with both folder controls, retention on and the main folder
// chosen, so that no action changes a value that would run another's rules.
TEST_P(RuleListTest, EachActionRedrawsItsOwnControls) {
  PanelFixture f;
  openPanel(f, 5);
  ASSERT_TRUE(f.control("retentionCheckBox").userClick());
  ASSERT_EQ(f.control("folderSelectionPopup").indexOfSelectedItem(), 1);
  ASSERT_EQ(f.control("folderSelectionMatrix").selectedRow(), 1);
  EXPECT_EQ(redrawnBy(f, GetParam().action), GetParam().controls);
}

INSTANTIATE_TEST_SUITE_P(
    Actions, RuleListTest,
    ::testing::Values(
        RuleListCase{"retentionCBoxProc:", kRetentionControls},
        RuleListCase{"folderSelectionPopUpButtonProc:",
                     join({kPassCode, kFolderPassCode, {"folderNameButton"}})},
        RuleListCase{"folderSelectionMatrixProc:", join({kPassCode, kFolderPassCode, kFolderName})},
        RuleListCase{"authenticationMatrixProc:", kAuthenticationControls},
        RuleListCase{"suspendKeyMatrixProc:", {}},
        RuleListCase{"suspendKeyButtonProc:", {"suspendKeyEditText"}},
        RuleListCase{"folderPasswordButtonProc:", {"folderPasswordEditText"}},
        RuleListCase{"folderNameButtonProc:", {"folderNameEditText"}},
        RuleListCase{"loginNameButtonProc:", {"loginNameEditText"}},
        RuleListCase{"passwordButtonProc:", {"passwordEditText"}},
        RuleListCase{"userNumberButtonProc:", {"userNumberEditText"}},
        RuleListCase{"userNameButtonProc:", {"userNameEditText"}},
        RuleListCase{"jobNameButtonProc:", {"jobNameEditText"}},
        RuleListCase{"accountNumberButtonProc:", {"accountNumberEditText"}},
        RuleListCase{"suspendKeyETextProc:", {}}, RuleListCase{"folderPasswordETextProc:", {}},
        RuleListCase{"loginNameETextProc:", {}}, RuleListCase{"passwordETextProc:", {}},
        RuleListCase{"userNumberETextProc:", {}}, RuleListCase{"userNameETextProc:", {}},
        RuleListCase{"jobNameETextProc:", {}}, RuleListCase{"accountNumberETextProc:", {}},
        RuleListCase{"tabProc:", {}}, RuleListCase{"printersAddressButtonProc:", {}}),
    [](const auto& info) {
      std::string name = info.param.action;
      name.pop_back();
      return name;
    });

TEST(RuleListWithoutControlTest, AnActionWhoseControlIsMissingRedrawsNothing) {
  const std::map<std::string, std::string> actionOfControl = {
      {"retentionCheckBox", "retentionCBoxProc:"},
      {"folderSelectionPopup", "folderSelectionPopUpButtonProc:"},
      {"authenticationMatrix", "authenticationMatrixProc:"},
      {"suspendKeyButton", "suspendKeyButtonProc:"},
      {"loginNameButton", "loginNameButtonProc:"},
      {"accountNumberButton", "accountNumberButtonProc:"}};
  for (const auto& [control, action] : actionOfControl) {
    PanelFixture f;
    f.env.bundle = std::make_shared<OneLayoutBundle>(
        testBundle(), layoutWithout(f.dir.path(), "JobControl5", {control}));
    openPanel(f, 5);
    EXPECT_EQ(redrawnBy(f, action), Names{}) << action;
  }
}

// Where the focus ends after a list: in the list's last edit field when that
// one is enabled, in no field when it is disabled.
TEST(RuleFocusTest, EndsInTheLastEditFieldOfTheList) {
  PanelFixture f;
  openPanel(f, 5, FolderList{{u"Locked", true}});
  f.control("retentionCheckBox").userClick();
  f.control("folderSelectionMatrix").userSelectRow(2);
  HeadlessView& view = *f.view();
  struct Step {
    std::string action;
    std::string focus;
  };
  for (const Step& step : {Step{"retentionCBoxProc:", "folderNameEditText"},
                           Step{"folderSelectionPopUpButtonProc:", "folderPasswordEditText"},
                           Step{"folderSelectionMatrixProc:", "folderNameEditText"},
                           Step{"suspendKeyButtonProc:", "suspendKeyEditText"},
                           Step{"passwordButtonProc:", "passwordEditText"},
                           Step{"jobNameButtonProc:", "jobNameEditText"}}) {
    view.headlessWindow().makeFirstResponder(nullptr);
    f.panel->performAction(step.action);
    ASSERT_NE(view.focusedControl(), nullptr) << step.action;
    EXPECT_EQ(view.focusedControl()->name(), step.focus) << step.action;
  }
  // The folder name held: the retention list ends on a disabled field.
  f.control("folderNameButton").userClick();
  f.control("userNameEditText").userType(u"x");
  f.panel->performAction("retentionCBoxProc:");
  EXPECT_EQ(view.focusedControl(), nullptr);
}

// The drawing rule tells edit fields from labels by the tag alone; drawing an
// edit field disabled drops the focus wherever it was.
TEST(DrawingRuleTest, EditFieldsTakeOrDropTheFocusLabelsOnlyChangeColour) {
  PanelFixture f;
  f.env.bundle =
      std::make_shared<OneLayoutBundle>(testBundle(), writeLayout(f.dir.path(), "TagZero.ui", R"(
   <item><widget class="QLabel" name="userNameStaticText"/></item>
   <item><widget class="QLineEdit" name="userNameEditText">
    <property name="tag" stdset="0"><number>8</number></property></widget></item>
   <item><widget class="QLineEdit" name="jobNameEditText"/></item>
   <item><widget class="QLineEdit" name="accountNumberEditText">
    <property name="tag" stdset="0"><number>7</number></property></widget></item>)"));
  f.make().panelView();
  HeadlessControl& label = f.control("userNameStaticText");
  HeadlessControl& field = f.control("userNameEditText");
  HeadlessControl& untagged = f.control("jobNameEditText");
  HeadlessControl& other = f.control("accountNumberEditText");

  myVx418JCHilite(&label, false);
  EXPECT_FALSE(label.isEditable());
  EXPECT_FALSE(label.isSelectable());
  EXPECT_EQ(label.textColor(), TextColor::Black);
  myVx418JCHilite(&label, true);
  EXPECT_EQ(label.textColor(), TextColor::Gray);

  untagged.setEditable(false);
  myVx418JCHilite(&untagged, false);  // tag 0: drawn as a label
  EXPECT_FALSE(untagged.isEditable());
  EXPECT_EQ(f.view()->focusedControl(), nullptr);

  myVx418JCHilite(&field, false);
  EXPECT_TRUE(field.isEditable());
  EXPECT_TRUE(field.isSelectable());
  EXPECT_EQ(field.textColor(), TextColor::Black);
  EXPECT_EQ(f.view()->focusedControl(), &field);
  myVx418JCHilite(&other, true);  // another field drawn disabled: the focus goes
  EXPECT_EQ(f.view()->focusedControl(), nullptr);
  EXPECT_TRUE(field.isEditable());
  myVx418JCHilite(&field, true);
  EXPECT_FALSE(field.isEditable());
  EXPECT_FALSE(field.isSelectable());
  EXPECT_EQ(field.textColor(), TextColor::Gray);
  myVx418JCHilite(ControlRef(), true);  // an absent field: nothing happens
}

// The enabled states, by situation.
struct StateCase {
  const char* what;
  int uiMode;
  std::function<void(PanelFixture&)> act;
  Names enabled;
  Names disabled;
};

void PrintTo(const StateCase& c, std::ostream* os) { *os << c.what; }

class EnableStateTest : public ::testing::TestWithParam<StateCase> {};

TEST_P(EnableStateTest, ControlsFollowTheChoices) {
  const StateCase& c = GetParam();
  PanelFixture f;
  openPanel(f, c.uiMode, FolderList{{u"Open", false}, {u"Locked", true}});
  c.act(f);
  const HeadlessView& view = *f.view();
  EXPECT_EQ(shownEnabledOf(view, c.enabled), c.enabled) << c.what;
  EXPECT_EQ(shownDisabledOf(view, c.disabled), c.disabled) << c.what;
}

void retentionOn(PanelFixture& f) { ASSERT_TRUE(f.control("retentionCheckBox").userClick()); }
void popUp(PanelFixture& f, int index) {
  ASSERT_TRUE(f.control("folderSelectionPopup").userSelectItem(index));
}
void matrixRow(PanelFixture& f, int row) {
  ASSERT_TRUE(f.control("folderSelectionMatrix").userSelectRow(row));
}
void click(PanelFixture& f, const char* name) { ASSERT_TRUE(f.control(name).userClick()); }

// What retention turns on besides the pass code and the folder fields.
const Names kRetentionChoices = {"suspendMatrix", "folderSelectionStaticText",
                                 "folderSelectionPopup", "folderSelectionMatrix"};

INSTANTIATE_TEST_SUITE_P(
    Situations, EnableStateTest,
    ::testing::Values(
        StateCase{"retention off after a protected folder and the custom folder", 5,
                  [](PanelFixture& f) {
                    retentionOn(f);
                    popUp(f, 4);
                    matrixRow(f, 2);
                    click(f, "retentionCheckBox");
                  },
                  join({kLogin, kJobId}),
                  join({kRetentionChoices, kPassCode, kFolderPassCode, kFolderName, kUserNumber})},
        StateCase{"retention on, main folder, both folder controls", 5, retentionOn,
                  join({kRetentionChoices, kPassCode}), join({kFolderPassCode, kFolderName})},
        StateCase{"quick file from the pop-up",
                  2,
                  [](PanelFixture& f) {
                    retentionOn(f);
                    popUp(f, 0);
                  },
                  {"suspendMatrix", "folderSelectionPopup"},
                  join({kPassCode, kFolderPassCode})},
        StateCase{"quick file, then the main folder again", 2,
                  [](PanelFixture& f) {
                    retentionOn(f);
                    popUp(f, 0);
                    popUp(f, 1);
                  },
                  kPassCode, kFolderPassCode},
        StateCase{"quick file from the matrix",
                  3,
                  [](PanelFixture& f) {
                    retentionOn(f);
                    matrixRow(f, 0);
                  },
                  {"folderSelectionMatrix"},
                  join({kPassCode, kFolderPassCode, kFolderName})},
        StateCase{"a device folder without pass code", 2,
                  [](PanelFixture& f) {
                    retentionOn(f);
                    popUp(f, 3);
                  },
                  kPassCode, kFolderPassCode},
        StateCase{"a device folder with a pass code",
                  2,
                  [](PanelFixture& f) {
                    retentionOn(f);
                    popUp(f, 4);
                  },
                  join({kPassCode, kFolderPassCode}),
                  {}},
        StateCase{"a protected folder whose list has gone", 2,
                  [](PanelFixture& f) {
                    retentionOn(f);
                    popUp(f, 4);
                    f.panel->folderList.reset();
                    f.panel->folderSelectionPopUpButtonProc();
                  },
                  kPassCode, kFolderPassCode},
        StateCase{"a protected folder whose list has shrunk", 2,
                  [](PanelFixture& f) {
                    retentionOn(f);
                    popUp(f, 4);
                    f.panel->folderList = FolderList{{u"Open", false}};
                    f.panel->folderSelectionPopUpButtonProc();
                  },
                  kPassCode, kFolderPassCode},
        StateCase{"a protected folder with its pass code held",
                  2,
                  [](PanelFixture& f) {
                    retentionOn(f);
                    popUp(f, 4);
                    click(f, "folderPasswordButton");
                  },
                  {"folderPasswordStaticText", "folderPasswordButton"},
                  {"folderPasswordEditText"}},
        StateCase{"the custom folder",
                  3,
                  [](PanelFixture& f) {
                    retentionOn(f);
                    matrixRow(f, 2);
                  },
                  join({kPassCode, kFolderPassCode, kFolderName}),
                  {}},
        StateCase{"the custom folder, then the main folder", 3,
                  [](PanelFixture& f) {
                    retentionOn(f);
                    matrixRow(f, 2);
                    matrixRow(f, 1);
                  },
                  kPassCode, join({kFolderPassCode, kFolderName})},
        StateCase{"the custom folder with its name held",
                  3,
                  [](PanelFixture& f) {
                    retentionOn(f);
                    matrixRow(f, 2);
                    click(f, "folderNameButton");
                  },
                  {"folderNameButton", "folderPasswordEditText"},
                  {"folderNameEditText"}},
        StateCase{"a held pass code with retention on",
                  2,
                  [](PanelFixture& f) {
                    retentionOn(f);
                    click(f, "suspendKeyButton");
                  },
                  {"suspendKeyStaticText", "suspendKeyButton"},
                  {"suspendKeyEditText"}},
        StateCase{"no folder controls: the pass code follows retention",
                  1,
                  retentionOn,
                  join({{"suspendMatrix"}, kPassCode}),
                  {}},
        StateCase{"no folder controls, pass code held",
                  1,
                  [](PanelFixture& f) {
                    retentionOn(f);
                    click(f, "suspendKeyButton");
                  },
                  {"suspendKeyButton", "suspendKeyStaticText"},
                  {"suspendKeyEditText"}},
        StateCase{"no folder controls, retention off",
                  1,
                  [](PanelFixture&) {},
                  {},
                  join({{"suspendMatrix"}, kPassCode})},
        StateCase{"user-number mode", 2,
                  [](PanelFixture& f) {
                    ASSERT_TRUE(f.control("authenticationMatrix").userSelectRow(1));
                  },
                  join({kUserNumber, kJobId}), kLogin},
        StateCase{"user-number mode, user number held",
                  2,
                  [](PanelFixture& f) {
                    ASSERT_TRUE(f.control("authenticationMatrix").userSelectRow(1));
                    click(f, "userNumberButton");
                  },
                  {"userNumberButton"},
                  join({{"userNumberEditText"}, kLogin})},
        StateCase{
            "login mode, login name and password held",
            2,
            [](PanelFixture& f) {
              click(f, "loginNameButton");
              click(f, "passwordButton");
            },
            {"loginNameStaticText", "loginNameButton", "passwordStaticText", "passwordButton"},
            join({{"loginNameEditText", "passwordEditText"}, kUserNumber})},
        StateCase{"identification fields follow their own holds only",
                  2,
                  [](PanelFixture& f) {
                    click(f, "userNameButton");
                    click(f, "jobNameButton");
                    click(f, "accountNumberButton");
                    retentionOn(f);
                    ASSERT_TRUE(f.control("authenticationMatrix").userSelectRow(1));
                    ASSERT_TRUE(f.control("authenticationMatrix").userSelectRow(0));
                  },
                  {"userNameButton", "jobNameButton", "accountNumberButton"},
                  kJobId},
        StateCase{"identification fields released again",
                  2,
                  [](PanelFixture& f) {
                    click(f, "userNameButton");
                    click(f, "accountNumberButton");
                    click(f, "userNameButton");
                    click(f, "accountNumberButton");
                  },
                  kJobId,
                  {}}),
    NameFromWhat());

}  // namespace
}  // namespace jc::test
