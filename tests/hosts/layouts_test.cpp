// The five panel layouts as the in-memory toolkit reads them: which controls
// each has, of which kind, with which tag and action.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "hosts/headless/headless_toolkit.h"
#include "platform/directory_bundle.h"

namespace jc {
namespace {

namespace fs = std::filesystem;

const fs::path kLayouts = fs::path(JC_BUILD_BUNDLE_DIR) / "layouts";

// Every outlet of the panel, with its kind and the action its layout binds.
struct Outlet {
  const char* name;
  ControlKind kind;
  const char* action;  // "" for none
};
const Outlet kOutlets[] = {
    {"tabView", ControlKind::TabView, "tabProc:"},
    {"retentionCheckBox", ControlKind::CheckBox, "retentionCBoxProc:"},
    {"suspendBox", ControlKind::Box, ""},
    {"suspendMatrix", ControlKind::RadioMatrix, "suspendKeyMatrixProc:"},
    {"holdOnlyRadioButton", ControlKind::RadioCell, ""},
    {"holdAfterRadioButton", ControlKind::RadioCell, ""},
    {"samplePrintRadioButton", ControlKind::RadioCell, ""},
    {"suspendKeyStaticText", ControlKind::Label, ""},
    {"suspendKeyEditText", ControlKind::EditField, "suspendKeyETextProc:"},
    {"suspendKeyButton", ControlKind::CheckBox, "suspendKeyButtonProc:"},
    {"filingBox", ControlKind::Box, ""},
    {"folderSelectionStaticText", ControlKind::Label, ""},
    {"folderSelectionPopup", ControlKind::PopUp, "folderSelectionPopUpButtonProc:"},
    {"folderPasswordStaticText", ControlKind::Label, ""},
    {"folderPasswordEditText", ControlKind::EditField, "folderPasswordETextProc:"},
    {"folderPasswordButton", ControlKind::CheckBox, "folderPasswordButtonProc:"},
    {"folderSelectionMatrix", ControlKind::RadioMatrix, "folderSelectionMatrixProc:"},
    {"quickFileRadioButton", ControlKind::RadioCell, ""},
    {"mainFolderRadioButton", ControlKind::RadioCell, ""},
    {"customFolderRadioButton", ControlKind::RadioCell, ""},
    {"folderNameEditText", ControlKind::EditField, ""},
    {"folderNameButton", ControlKind::CheckBox, "folderNameButtonProc:"},
    {"authenticationMatrix", ControlKind::RadioMatrix, "authenticationMatrixProc:"},
    {"authenticationRadioButton", ControlKind::RadioCell, ""},
    {"loginNameStaticText", ControlKind::Label, ""},
    {"loginNameEditText", ControlKind::EditField, "loginNameETextProc:"},
    {"loginNameButton", ControlKind::CheckBox, "loginNameButtonProc:"},
    {"passwordStaticText", ControlKind::Label, ""},
    {"passwordEditText", ControlKind::EditField, "passwordETextProc:"},
    {"passwordButton", ControlKind::CheckBox, "passwordButtonProc:"},
    // userNumberMatrix: no layout has it (a button group without buttons
    // would not exist once Qt loads the file).
    {"userNumberRadioButton", ControlKind::RadioCell, ""},
    {"userNumberEditText", ControlKind::EditField, "userNumberETextProc:"},
    {"userNumberButton", ControlKind::CheckBox, "userNumberButtonProc:"},
    {"accountNumberStaticText", ControlKind::Label, ""},
    {"accountNumberEditText", ControlKind::EditField, "accountNumberETextProc:"},
    {"accountNumberButton", ControlKind::CheckBox, "accountNumberButtonProc:"},
    {"jobIDBox", ControlKind::Box, ""},
    {"userNameStaticText", ControlKind::Label, ""},
    {"userNameEditText", ControlKind::EditField, "userNameETextProc:"},
    {"userNameButton", ControlKind::CheckBox, "userNameButtonProc:"},
    {"jobNameStaticText", ControlKind::Label, ""},
    {"jobNameEditText", ControlKind::EditField, "jobNameETextProc:"},
    {"jobNameButton", ControlKind::CheckBox, "jobNameButtonProc:"},
    {"printersAddressStaticText", ControlKind::Label, ""},
    {"printersAddressEditText", ControlKind::EditField, ""},
    {"chasingArrow", ControlKind::Progress, ""},
    {"getFolderNameButton", ControlKind::PushButton, "getFolderNameButtonProc:"},
};

const std::set<std::string> kFolderMatrixSet = {"folderSelectionMatrix", "quickFileRadioButton",
                                                "mainFolderRadioButton", "customFolderRadioButton",
                                                "folderNameEditText",    "folderNameButton"};
const std::set<std::string> kPopupSet = {"folderSelectionPopup", "folderSelectionStaticText"};
// The filing tab: both kinds of folder control, the folder pass code and the
// printer's address with the button that fetches its folders.
const std::set<std::string> kFilingSet = [] {
  std::set<std::string> names = {"filingBox",
                                 "folderPasswordStaticText",
                                 "folderPasswordEditText",
                                 "folderPasswordButton",
                                 "printersAddressStaticText",
                                 "printersAddressEditText",
                                 "chasingArrow",
                                 "getFolderNameButton"};
  names.insert(kFolderMatrixSet.begin(), kFolderMatrixSet.end());
  names.insert(kPopupSet.begin(), kPopupSet.end());
  return names;
}();
const std::set<std::string> kAuthenticationSet = {
    "authenticationMatrix", "authenticationRadioButton", "userNumberRadioButton",
    "loginNameStaticText",  "loginNameEditText",         "loginNameButton",
    "passwordStaticText",   "passwordEditText",          "passwordButton",
    "userNumberEditText",   "userNumberButton"};

std::set<std::string> allOutletsExcept(std::initializer_list<const std::set<std::string>*> sets) {
  std::set<std::string> names;
  for (const auto& o : kOutlets) names.insert(o.name);
  for (const auto* s : sets) {
    for (const auto& n : *s) names.erase(n);
  }
  return names;
}

std::unique_ptr<HeadlessView> load(const std::string& layout) {
  HeadlessToolkit toolkit;
  auto view = toolkit.loadHeadlessLayout(kLayouts / (layout + ".ui"), nullptr);
  EXPECT_TRUE(view) << layout << ": " << toolkit.lastError();
  return view;
}

std::set<std::string> outletSet(const HeadlessView& view) {
  const auto names = view.outletNames();
  return {names.begin(), names.end()};
}

const char* const kLayoutNames[] = {"JobControl", "JobControl2", "JobControl3", "JobControl4",
                                    "JobControl5"};

TEST(LayoutsTest, EachLayoutHasItsControls) {
  const std::map<std::string, std::set<std::string>> expected = {
      {"JobControl", allOutletsExcept({&kFilingSet})},
      {"JobControl2", allOutletsExcept({&kFolderMatrixSet})},
      {"JobControl3", allOutletsExcept({&kPopupSet})},
      {"JobControl4", allOutletsExcept({&kFolderMatrixSet, &kAuthenticationSet})},
      {"JobControl5", allOutletsExcept({})},
  };
  for (const auto& [layout, names] : expected) {
    auto view = load(layout);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->rootName(), "panelView") << layout;
    EXPECT_EQ(outletSet(*view), names) << layout;
    EXPECT_TRUE(view->warnings().empty()) << layout << ": " << view->warnings().front();
  }
}

TEST(LayoutsTest, KindsAndActionsAreThoseOfThePanel) {
  std::map<std::string, const Outlet*> byName;
  for (const auto& o : kOutlets) byName[o.name] = &o;
  for (const char* layout : kLayoutNames) {
    auto view = load(layout);
    ASSERT_TRUE(view);
    for (const auto& c : view->controls()) {
      const auto it = byName.find(c->name());
      ASSERT_NE(it, byName.end()) << layout << ": unexpected control " << c->name();
      EXPECT_EQ(c->kind(), it->second->kind) << layout << ": " << c->name();
      EXPECT_EQ(c->action(), it->second->action) << layout << ": " << c->name();
    }
  }
}

TEST(LayoutsTest, EditFieldsHaveDistinctTagsAndLabelsNone) {
  for (const char* layout : kLayoutNames) {
    auto view = load(layout);
    ASSERT_TRUE(view);
    std::set<int> tags;
    for (const auto& c : view->controls()) {
      if (c->kind() == ControlKind::EditField) {
        EXPECT_NE(c->tag(), 0) << layout << ": " << c->name();
        EXPECT_TRUE(tags.insert(c->tag()).second) << layout << ": " << c->name();
        EXPECT_TRUE(c->isEditable() && c->isSelectable()) << layout << ": " << c->name();
      } else if (c->kind() == ControlKind::Label) {
        EXPECT_EQ(c->tag(), 0) << layout << ": " << c->name();
      }
    }
  }
}

TEST(LayoutsTest, MatrixRowsFollowTheirCells) {
  const std::map<std::string, std::vector<std::string>> rows = {
      {"suspendMatrix", {"holdOnlyRadioButton", "holdAfterRadioButton", "samplePrintRadioButton"}},
      {"folderSelectionMatrix",
       {"quickFileRadioButton", "mainFolderRadioButton", "customFolderRadioButton"}},
      {"authenticationMatrix", {"authenticationRadioButton", "userNumberRadioButton"}},
  };
  auto view = load("JobControl5");
  ASSERT_TRUE(view);
  for (const auto& [matrixName, cells] : rows) {
    const HeadlessControl* matrix = view->control(matrixName);
    ASSERT_NE(matrix, nullptr) << matrixName;
    ASSERT_EQ(matrix->numberOfRows(), static_cast<int>(cells.size())) << matrixName;
    for (std::size_t row = 0; row < cells.size(); ++row) {
      EXPECT_EQ(matrix->cellAtRow(static_cast<int>(row)), view->control(cells[row]))
          << matrixName << " row " << row;
    }
  }
  EXPECT_EQ(view->control("suspendMatrix")->selectedRow(), 0);
  EXPECT_EQ(view->control("folderSelectionMatrix")->selectedRow(), 1);
  EXPECT_EQ(view->control("authenticationMatrix")->selectedRow(), 0);
}

TEST(LayoutsTest, TextsAreTheLocalizationKeys) {
  auto view = load("JobControl2");
  ASSERT_TRUE(view);
  const ControlRef tabs = view->outlet("tabView");
  ASSERT_EQ(tabs->numberOfTabViewItems(), 3);
  EXPECT_EQ(tabs->tabLabel(0), u"Retention/Filing");
  EXPECT_EQ(tabs->tabLabel(1), u"User Authentication");
  EXPECT_EQ(tabs->tabLabel(2), u"Job ID");
  EXPECT_EQ(ControlRef(view->outlet("suspendKeyStaticText"))->stringValue(), u"Pass Code:");
  EXPECT_EQ(ControlRef(view->outlet("holdAfterRadioButton"))->title(), u"Hold After Print");
  const ControlRef popup = view->outlet("folderSelectionPopup");
  ASSERT_EQ(popup->numberOfItems(), 2);
  EXPECT_EQ(popup->itemAtIndex(0)->title, u"Quick File");
  EXPECT_EQ(popup->itemAtIndex(1)->title, u"Main Folder");
  for (const char* hold : {"suspendKeyButton", "loginNameButton", "jobNameButton"}) {
    EXPECT_EQ(ControlRef(view->outlet(hold))->title(), u"") << hold;
  }
}

// What a label is looked up by: the text before its first colon, without
// leading white space.
std::u16string keyOf(std::u16string text) {
  const auto start = text.find_first_not_of(u" \t\r\n");
  if (start == std::u16string::npos) return {};
  text = text.substr(start);
  return text.substr(0, text.find(u':'));
}

TEST(LayoutsTest, EveryTextHasAJapaneseTranslation) {
  const DirectoryBundle ja(JC_BUILD_BUNDLE_DIR, "ja");
  for (const char* layout : kLayoutNames) {
    auto view = load(layout);
    ASSERT_TRUE(view);
    std::vector<std::u16string> texts;
    for (const auto& c : view->controls()) {
      texts.push_back(c->title());
      texts.push_back(c->stringValue());
      for (int i = 0; i < c->numberOfItems(); ++i) texts.push_back(c->itemAtIndex(i)->title);
      for (int i = 0; i < c->numberOfTabViewItems(); ++i) texts.push_back(c->tabLabel(i));
    }
    for (const auto& text : texts) {
      const auto key = keyOf(text);
      if (key.empty()) continue;
      EXPECT_NE(ja.localizedString(key), key) << layout << ": no translation";
    }
  }
  for (const char16_t* key : {u"Job Control", u"On", u"Off", u"Could not retrieve Folder Names."}) {
    EXPECT_NE(ja.localizedString(key), key);
  }
}

}  // namespace
}  // namespace jc
