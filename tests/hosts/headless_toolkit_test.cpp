// The in-memory toolkit: the program's side sends no action, the user's side
// does; formatters see every keystroke; absent controls answer zero.
#include "hosts/headless/headless_toolkit.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace jc {
namespace {

namespace fs = std::filesystem;

const fs::path kLayouts = fs::path(JC_BUILD_BUNDLE_DIR) / "layouts";

struct SentAction {
  std::string action;
  Control* sender;
  bool operator==(const SentAction&) const = default;
};

class RecordingTarget : public ActionTarget {
 public:
  void sendAction(std::string_view action, Control& sender) override {
    sent.push_back({std::string(action), &sender});
  }
  std::vector<SentAction> sent;
};

// Lets at most `limit` characters through and only digits; records each call.
class DigitFormatter : public Formatter {
 public:
  struct Call {
    std::u16string proposed;
    TextRange proposedSelection;
    std::u16string original;
    TextRange originalSelection;
  };
  DigitFormatter(std::size_t limit, std::vector<Call>* calls) : limit_(limit), calls_(calls) {}
  bool isPartialStringValid(const std::u16string& proposed, TextRange proposedSelection,
                            const std::u16string& original,
                            TextRange originalSelection) const override {
    if (calls_) calls_->push_back({proposed, proposedSelection, original, originalSelection});
    if (proposed.size() > limit_) return false;
    for (char16_t c : proposed) {
      if (c < u'0' || c > u'9') return false;
    }
    return true;
  }

 private:
  std::size_t limit_;
  std::vector<Call>* calls_;
};

class AcceptAll : public Formatter {
 public:
  explicit AcceptAll(std::vector<DigitFormatter::Call>* calls) : calls_(calls) {}
  bool isPartialStringValid(const std::u16string& proposed, TextRange proposedSelection,
                            const std::u16string& original,
                            TextRange originalSelection) const override {
    calls_->push_back({proposed, proposedSelection, original, originalSelection});
    return true;
  }

 private:
  std::vector<DigitFormatter::Call>* calls_;
};

class HeadlessToolkitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    view_ = toolkit_.loadHeadlessLayout(kLayouts / "JobControl5.ui", &target_);
    ASSERT_TRUE(view_) << toolkit_.lastError();
  }
  HeadlessControl& c(std::string_view name) {
    HeadlessControl* control = view_->control(name);
    EXPECT_NE(control, nullptr) << name;
    return *control;
  }

  HeadlessToolkit toolkit_;
  RecordingTarget target_;
  std::unique_ptr<HeadlessView> view_;
};

TEST_F(HeadlessToolkitTest, ProgramChangesSendNoAction) {
  const ControlRef retention = view_->outlet("retentionCheckBox");
  retention->setState(1);
  retention->setTitle(u"Keep");
  retention->setEnabled(false);
  ControlRef(view_->outlet("suspendMatrix"))->selectCellAtRow(2);
  ControlRef(view_->outlet("folderSelectionPopup"))->selectItemAtIndex(0);
  ControlRef(view_->outlet("folderSelectionPopup"))->addItem(MenuItem{u"Sales", false, {}, {}});
  ControlRef(view_->outlet("suspendKeyEditText"))->setStringValue(u"12345");
  ControlRef(view_->outlet("tabView"))->selectFirstTabViewItem();
  ControlRef(view_->outlet("holdAfterRadioButton"))->setState(1);
  EXPECT_TRUE(target_.sent.empty());
  EXPECT_EQ(retention->state(), 1);
  EXPECT_EQ(retention->title(), u"Keep");
  EXPECT_EQ(ControlRef(view_->outlet("suspendMatrix"))->selectedRow(), 1);
  EXPECT_EQ(ControlRef(view_->outlet("suspendKeyEditText"))->stringValue(), u"12345");
}

TEST_F(HeadlessToolkitTest, UserChangesSendTheControlsAction) {
  EXPECT_TRUE(c("retentionCheckBox").userClick());
  EXPECT_EQ(c("retentionCheckBox").state(), 1);
  EXPECT_TRUE(c("suspendMatrix").userSelectRow(2));
  EXPECT_TRUE(c("holdAfterRadioButton").userClick());
  EXPECT_TRUE(c("folderSelectionPopup").userSelectItem(0));
  EXPECT_TRUE(c("suspendKeyEditText").userType(u"42"));
  EXPECT_TRUE(c("getFolderNameButton").userClick());
  EXPECT_TRUE(c("tabView").userSelectTab(2));
  EXPECT_TRUE(c("jobNameButton").userSetState(1));
  EXPECT_TRUE(c("jobNameButton").userSetState(1));              // already on: no second action
  EXPECT_TRUE(c("printersAddressEditText").userType(u"host"));  // a field without an action

  const std::vector<SentAction> expected = {
      {"retentionCBoxProc:", &c("retentionCheckBox")},
      {"suspendKeyMatrixProc:", &c("suspendMatrix")},
      {"suspendKeyMatrixProc:", &c("suspendMatrix")},  // a cell sends its matrix's action
      {"folderSelectionPopUpButtonProc:", &c("folderSelectionPopup")},
      {"suspendKeyETextProc:", &c("suspendKeyEditText")},
      {"getFolderNameButtonProc:", &c("getFolderNameButton")},
      {"tabProc:", &c("tabView")},
      {"jobNameButtonProc:", &c("jobNameButton")},
  };
  EXPECT_EQ(target_.sent, expected);
  EXPECT_EQ(c("suspendMatrix").selectedRow(), 1);
  EXPECT_EQ(c("holdAfterRadioButton").state(), 1);
  EXPECT_EQ(c("samplePrintRadioButton").state(), 0);
  EXPECT_EQ(c("folderSelectionPopup").indexOfSelectedItem(), 0);
  EXPECT_EQ(c("tabView").selectedTabIndex(), 2);
}

TEST_F(HeadlessToolkitTest, DisabledOrHiddenControlsIgnoreTheUser) {
  c("retentionCheckBox").setEnabled(false);
  EXPECT_FALSE(c("retentionCheckBox").userClick());
  EXPECT_EQ(c("retentionCheckBox").state(), 0);

  c("suspendMatrix").setEnabled(false);
  EXPECT_FALSE(c("suspendMatrix").userSelectRow(1));
  EXPECT_FALSE(c("samplePrintRadioButton").userClick());
  EXPECT_FALSE(c("samplePrintRadioButton").isEnabled()) << "a matrix disables its cells";
  EXPECT_EQ(c("suspendMatrix").selectedRow(), 0);

  // The drawing rule's disabled look makes a field read-only for the user.
  c("suspendKeyEditText").setEditable(false);
  c("suspendKeyEditText").setSelectable(false);
  EXPECT_FALSE(c("suspendKeyEditText").userType(u"1"));
  EXPECT_FALSE(c("suspendKeyEditText").userPaste(u"1", {0, 0}));

  c("getFolderNameButton").setHidden(true);
  EXPECT_FALSE(c("getFolderNameButton").userClick());

  EXPECT_FALSE(c("folderSelectionPopup").userSelectItem(5));
  EXPECT_FALSE(c("suspendMatrix").userSelectRow(-1));
  EXPECT_FALSE(c("suspendKeyStaticText").userType(u"x")) << "labels are not typed into";
  EXPECT_TRUE(target_.sent.empty());
}

TEST_F(HeadlessToolkitTest, AFormatterRefusalStopsTypingAtThatKeystroke) {
  std::vector<DigitFormatter::Call> calls;
  HeadlessControl& field = c("userNumberEditText");
  ControlRef(&field)->setFormatter(std::make_unique<DigitFormatter>(5, &calls));

  EXPECT_FALSE(field.userType(u"12a34"));
  EXPECT_EQ(field.stringValue(), u"12");
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[2].proposed, u"12a");
  EXPECT_EQ(calls[2].original, u"12");
  EXPECT_EQ(calls[2].originalSelection, (TextRange{2, 0}));
  EXPECT_EQ(calls[2].proposedSelection, (TextRange{3, 0}));
  ASSERT_EQ(target_.sent.size(), 1u) << "the accepted keystrokes changed the text";

  EXPECT_TRUE(field.userType(u"345"));
  EXPECT_FALSE(field.userType(u"6"));
  EXPECT_EQ(field.stringValue(), u"12345");

  // A refused paste leaves the text alone.
  EXPECT_FALSE(field.userPaste(u"x", {0, 5}));
  EXPECT_EQ(field.stringValue(), u"12345");
  // The program's own setting bypasses the formatter.
  field.setStringValue(u"abc");
  EXPECT_EQ(field.stringValue(), u"abc");
}

TEST_F(HeadlessToolkitTest, EditsOfferTheFormatterTheProposedTextAndSelections) {
  std::vector<DigitFormatter::Call> calls;
  HeadlessControl& field = c("jobNameEditText");
  field.setFormatter(std::make_unique<AcceptAll>(&calls));
  const std::u16string smile = u"\U0001F600";

  field.setStringValue(u"abc");
  EXPECT_TRUE(field.userPaste(u"xy", {1, 1}));
  EXPECT_EQ(field.stringValue(), u"axyc");
  EXPECT_TRUE(field.userType(smile));     // one keystroke for a surrogate pair
  EXPECT_TRUE(field.userDelete({6, 0}));  // backspace removes the pair whole
  EXPECT_TRUE(field.userDelete({0, 2}));
  EXPECT_TRUE(field.userPaste(u"Q", {10, 3}));  // clamped to the end
  ASSERT_EQ(calls.size(), 5u);

  EXPECT_EQ(calls[0].proposed, u"axyc");
  EXPECT_EQ(calls[0].proposedSelection, (TextRange{3, 0}));
  EXPECT_EQ(calls[0].originalSelection, (TextRange{1, 1}));
  EXPECT_EQ(calls[1].proposed, u"axyc" + smile);
  EXPECT_EQ(calls[1].proposedSelection, (TextRange{6, 0}));
  EXPECT_EQ(calls[2].proposed, u"axyc");
  EXPECT_EQ(calls[2].proposedSelection, (TextRange{4, 0}));
  EXPECT_EQ(calls[2].originalSelection, (TextRange{6, 0}));
  EXPECT_EQ(calls[3].proposed, u"yc");
  EXPECT_EQ(calls[3].proposedSelection, (TextRange{0, 0}));
  EXPECT_EQ(calls[3].originalSelection, (TextRange{0, 2}));
  EXPECT_EQ(calls[4].proposed, u"ycQ");
  EXPECT_EQ(calls[4].originalSelection, (TextRange{2, 0}));
  EXPECT_EQ(field.stringValue(), u"ycQ");
  EXPECT_TRUE(field.userClear());
  EXPECT_EQ(field.stringValue(), u"");
}

TEST_F(HeadlessToolkitTest, AbsentControlsAnswerZero) {
  auto view2 = toolkit_.loadHeadlessLayout(kLayouts / "JobControl2.ui", &target_);
  ASSERT_TRUE(view2);
  const ControlRef absent = view2->outlet("folderSelectionMatrix");
  EXPECT_FALSE(absent);
  EXPECT_EQ(absent.get(), nullptr);
  // Operations leave nothing behind, on this or on any other absent control.
  absent->setState(1);
  absent->selectCellAtRow(2);
  absent->setStringValue(u"x");
  absent->setTitle(u"x");
  absent->setEnabled(true);
  absent->setEditable(true);
  absent->setSelectable(true);
  absent->setHidden(true);
  absent->startAnimation();
  absent->selectItemAtIndex(3);
  absent->addItem(MenuItem{u"x", false, {}, {}});
  absent->setImage(std::make_shared<const Image>());
  absent->setFormatter(std::make_unique<DigitFormatter>(5, nullptr));
  absent->setTabLabel(0, u"x");

  // It never takes the focus, nor takes it from a field that has it.
  const ControlRef field = view2->outlet("passwordEditText");
  field.makeFirstResponder();
  ASSERT_EQ(view2->window().firstResponder(), field.get());
  absent.makeFirstResponder();
  absent.resignFocus();
  view2->window().makeFirstResponder(absent.operator->());
  EXPECT_EQ(view2->window().firstResponder(), field.get());

  for (const ControlRef& c : {absent, ControlRef()}) {
    const std::pair<const char*, bool> answersZero[] = {
        {"kind", c->kind() == ControlKind::Other},
        {"name", c->name().empty()},
        {"title", c->title().empty()},
        {"stringValue", c->stringValue().empty()},
        {"state", c->state() == 0},
        {"isEnabled", !c->isEnabled()},
        {"image", !c->image() && !c->alternateImage()},
        {"selectedRow", c->selectedRow() == 0},
        {"numberOfRows", c->numberOfRows() == 0 && !c->cellAtRow(0)},
        {"selectedCell", !c.selectedCell()},
        {"tag", c->tag() == 0},
        {"isEditable", !c->isEditable()},
        {"isSelectable", !c->isSelectable()},
        {"textColor", c->textColor() == TextColor::Black},
        {"formatter", c->formatter() == nullptr},
        {"window", c->window() == nullptr},
        {"indexOfSelectedItem", c->indexOfSelectedItem() == 0},
        {"numberOfItems", c->numberOfItems() == 0 && !c->itemAtIndex(0)},
        {"selectedItem", c.selectedItem() == nullptr},
        {"tabs", c->numberOfTabViewItems() == 0 && c->tabLabel(0).empty()},
        {"selectedTabIndex", c->selectedTabIndex() == 0},
        {"isHidden", !c->isHidden()},
        {"isAnimating", !c->isAnimating()},
    };
    for (const auto& [query, zero] : answersZero) EXPECT_TRUE(zero) << query;
  }
  EXPECT_TRUE(target_.sent.empty());
}

TEST_F(HeadlessToolkitTest, CellsFollowTheirMatrix) {
  HeadlessControl& matrix = c("folderSelectionMatrix");
  EXPECT_EQ(ControlRef(&matrix).selectedCell().get(), &c("mainFolderRadioButton"));
  c("customFolderRadioButton").setState(1);
  EXPECT_EQ(matrix.selectedRow(), 2);
  EXPECT_EQ(c("mainFolderRadioButton").state(), 0);
  c("customFolderRadioButton").setState(0);
  EXPECT_EQ(matrix.selectedRow(), -1);
  EXPECT_FALSE(ControlRef(&matrix).selectedCell());
  matrix.selectCellAtRow(7);  // no such row: nothing changes
  EXPECT_EQ(matrix.selectedRow(), -1);
  matrix.selectCellAtRow(0);
  EXPECT_EQ(c("quickFileRadioButton").state(), 1);
}

TEST_F(HeadlessToolkitTest, FocusMovesBetweenSelectableFields) {
  Window& window = view_->window();
  const ControlRef login = view_->outlet("loginNameEditText");
  const ControlRef password = view_->outlet("passwordEditText");
  EXPECT_EQ(window.firstResponder(), nullptr);
  login.makeFirstResponder();
  EXPECT_EQ(window.firstResponder(), login.get());
  password.makeFirstResponder();
  EXPECT_EQ(view_->focusedControl(), password.get());
  password.resignFocus();
  EXPECT_EQ(window.firstResponder(), nullptr);

  // A field shown disabled cannot take the focus; nor can another view's control.
  login->setSelectable(false);
  login.makeFirstResponder();
  EXPECT_EQ(window.firstResponder(), nullptr);
  auto other = toolkit_.loadHeadlessLayout(kLayouts / "JobControl2.ui", nullptr);
  ASSERT_TRUE(other);
  window.makeFirstResponder(other->outlet("passwordEditText"));
  EXPECT_EQ(window.firstResponder(), nullptr);

  // Typing into a field puts the focus there.
  EXPECT_TRUE(c("accountNumberEditText").userType(u"7"));
  EXPECT_EQ(window.firstResponder(), &c("accountNumberEditText"));
}

TEST_F(HeadlessToolkitTest, PopUpItemsKeepASensibleSelection) {
  const ControlRef popup = view_->outlet("folderSelectionPopup");
  EXPECT_EQ(popup->indexOfSelectedItem(), 1);
  popup->addItem(MenuItem{{}, true, {}, {}});
  for (const char16_t* name : {u"A", u"B", u"C"}) popup->addItem(MenuItem{name, false, {}, {}});
  popup->selectItemAtIndex(4);
  // Removing everything after the fixed items walks the selection back to them.
  while (popup->numberOfItems() > 2) popup->removeItemAtIndex(2);
  EXPECT_EQ(popup->indexOfSelectedItem(), 1);
  EXPECT_EQ(popup.selectedItem()->title, u"Main Folder");
  EXPECT_FALSE(c("folderSelectionPopup").userSelectItem(-1));
  popup->addItem(MenuItem{{}, true, {}, {}});
  EXPECT_FALSE(c("folderSelectionPopup").userSelectItem(2)) << "a separator cannot be chosen";
  popup->removeAllItems();
  EXPECT_EQ(popup->indexOfSelectedItem(), -1);
  EXPECT_EQ(popup.selectedItem(), nullptr);
  popup->addItem(MenuItem{u"Only", false, {}, {}});
  EXPECT_EQ(popup->indexOfSelectedItem(), 0);
}

TEST_F(HeadlessToolkitTest, SnapshotShowsWhatTheUserSees) {
  c("passwordEditText").setStringValue(u"secret");
  c("chasingArrow").setHidden(true);
  c("folderSelectionPopup").addItem(MenuItem{{}, true, {}, {}});
  c("folderSelectionPopup")
      .addItem(MenuItem{u"Sales", false, toolkit_.systemIcon(fourCharCode("lock"), 18, 18), {}});
  c("suspendKeyStaticText").setTextColor(TextColor::Gray);
  c("suspendKeyEditText").setSelectable(false);

  std::map<std::string, ControlSnapshot> byName;
  for (auto& s : view_->snapshot()) byName[s.name] = s;
  EXPECT_EQ(byName.size(), view_->outletNames().size());

  EXPECT_EQ(byName["passwordEditText"].text, u"••••••");
  EXPECT_EQ(byName["passwordEditText"].editable, true);
  EXPECT_TRUE(byName["chasingArrow"].hidden);
  EXPECT_EQ(byName["chasingArrow"].animating, false);
  EXPECT_FALSE(byName["suspendKeyStaticText"].enabled);
  EXPECT_FALSE(byName["suspendKeyEditText"].enabled);
  EXPECT_TRUE(byName["userNameEditText"].enabled);
  EXPECT_EQ(byName["retentionCheckBox"].state, 0);
  EXPECT_EQ(byName["retentionCheckBox"].text, u"Retention");
  EXPECT_EQ(byName["retentionCheckBox"].selectedRow, std::nullopt);
  EXPECT_EQ(byName["suspendMatrix"].selectedRow, 0);
  EXPECT_EQ(byName["suspendMatrix"].items->size(), 3u);
  const auto& popup = byName["folderSelectionPopup"];
  EXPECT_EQ(popup.selectedIndex, 1);
  EXPECT_EQ(popup.text, u"Main Folder");
  const std::vector<ItemSnapshot> items = {{u"Quick File", false, 0},
                                           {u"Main Folder", false, 0},
                                           {u"", true, 0},
                                           {u"Sales", false, fourCharCode("lock")}};
  EXPECT_EQ(popup.items, items);
  EXPECT_EQ(byName["tabView"].items->at(1).title, u"User Authentication");
  EXPECT_EQ(byName["suspendKeyEditText"].tag, 1);
}

TEST(HeadlessToolkitAlertTest, RecordsAndPrintsAlerts) {
  std::ostringstream out;
  HeadlessToolkit toolkit(out);
  toolkit.alert(u"", u"フォルダー名を取得できませんでした。", u"OK");
  ASSERT_EQ(toolkit.alerts().size(), 1u);
  EXPECT_EQ(toolkit.alerts()[0],
            (AlertRecord{u"", u"フォルダー名を取得できませんでした。", u"OK"}));
  EXPECT_EQ(out.str(), "フォルダー名を取得できませんでした。\n");

  const auto a = toolkit.systemIcon(fourCharCode("lock"), 18, 18);
  const auto b = toolkit.systemIcon(fourCharCode("lock"), 18, 18);
  EXPECT_NE(a, b) << "a new image per call";
  EXPECT_EQ(*a, (Image{fourCharCode("lock"), {}, 18, 18}));
}

class TempFile {
 public:
  explicit TempFile(const std::string& content) {
    std::string pattern = (fs::temp_directory_path() / "jc-layout-XXXXXX").string();
    const int fd = mkstemp(pattern.data());
    if (fd >= 0) close(fd);
    path_ = pattern;
    std::ofstream(path_, std::ios::binary) << content;
  }
  ~TempFile() {
    std::error_code ec;
    fs::remove(path_, ec);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

std::string ui(const std::string& widgets, const std::string& groups = "") {
  return "<?xml version=\"1.0\"?>\n<ui version=\"4.0\"><widget class=\"QWidget\" "
         "name=\"panelView\">"
         "<layout class=\"QVBoxLayout\" name=\"l\">" +
         widgets + "</layout></widget><buttongroups>" + groups + "</buttongroups></ui>";
}

std::string item(const std::string& cls, const std::string& name, const std::string& props = "",
                 const std::string& attrs = "") {
  return "<item><widget class=\"" + cls + "\" name=\"" + name + "\">" + attrs + props +
         "</widget></item>";
}

std::string tag(int n) {
  return "<property name=\"tag\" stdset=\"0\"><number>" + std::to_string(n) +
         "</number></property>";
}

TEST(HeadlessLayoutLoadTest, RefusesWhatIsNotALayout) {
  HeadlessToolkit toolkit;
  EXPECT_EQ(toolkit.loadLayout("/nonexistent/JobControl2.ui", nullptr), nullptr);
  EXPECT_FALSE(toolkit.lastError().empty());
  const std::string bad[] = {
      "",
      "not xml at all",
      "<ui><widget class=\"QWidget\" name=\"panelView\">",  // cut short
      "<layout/>",
      "<ui version=\"4.0\"/>",
      // A document type declaration, even a harmless one, is refused: no
      // entity is ever expanded.
      "<?xml version=\"1.0\"?><!DOCTYPE ui [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b "
      "\"&a;&a;&a;&a;\">]>"
      "<ui><widget class=\"QWidget\" name=\"panelView\"><widget class=\"QLabel\" name=\"x\">"
      "<property name=\"text\"><string>&b;</string></property></widget></widget></ui>",
      "<!DOCTYPE ui SYSTEM \"http://example.invalid/ui.dtd\"><ui><widget class=\"QWidget\" "
      "name=\"panelView\"/></ui>",
  };
  for (const auto& content : bad) {
    TempFile file(content);
    EXPECT_EQ(toolkit.loadLayout(file.path(), nullptr), nullptr) << content;
    EXPECT_FALSE(toolkit.lastError().empty()) << content;
  }
  std::string deep = "<ui><widget class=\"QWidget\" name=\"panelView\">";
  for (int i = 0; i < 200; ++i) deep += "<widget class=\"QWidget\" name=\"w\">";
  for (int i = 0; i < 200; ++i) deep += "</widget>";
  deep += "</widget></ui>";
  TempFile file(deep);
  EXPECT_EQ(toolkit.loadLayout(file.path(), nullptr), nullptr);
}

TEST(HeadlessLayoutLoadTest, ReportsTagsAndGroupsItCannotUse) {
  const TempFile file(
      ui(item("QLineEdit", "noTag") + item("QLineEdit", "a", tag(3)) +
             item("QLineEdit", "b", tag(3)) + item("QLabel", "label", tag(4)) +
             item("QRadioButton", "lonely", "",
                  "<attribute name=\"buttonGroup\"><string>nowhere</string></attribute>") +
             item("QCheckBox", "a"),
         "<buttongroup name=\"empty\"/>"));
  HeadlessToolkit toolkit;
  auto view = toolkit.loadHeadlessLayout(file.path(), nullptr);
  ASSERT_TRUE(view) << toolkit.lastError();
  EXPECT_EQ(view->warnings().size(), 5u);
  EXPECT_EQ(view->control("noTag")->tag(), 0);
  EXPECT_EQ(view->control("noTag")->kind(), ControlKind::EditField);
  EXPECT_EQ(view->control("a")->kind(), ControlKind::EditField) << "the first of a name counts";
  EXPECT_EQ(view->control("lonely")->matrix(), nullptr);
  EXPECT_EQ(view->control("empty"), nullptr) << "a group without buttons makes no matrix";
  const std::vector<std::string> names = {"noTag", "a", "b", "label", "lonely"};
  EXPECT_EQ(view->outletNames(), names);
}

}  // namespace
}  // namespace jc
