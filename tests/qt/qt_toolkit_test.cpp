// The Qt toolkit on real widgets: the formatters as validators, actions only
// for the user's changes, the lock images, gray text, the alert, the busy bar.
#include "hosts/qt/qt_toolkit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "hosts/headless/headless_toolkit.h"
#include "hosts/qt/image_pixmap.h"
#include "qt/qt_user_player.h"
#include "qt/toolkit_panel.h"

namespace jc::test {
namespace {

QLineEdit& lineEdit(qt::QtView& view, const std::string& name) {
  return *qobject_cast<QLineEdit*>(view.control(name)->widget());
}

class QtPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    view_ = &dynamic_cast<qt::QtView&>(panel_.open());
    view_->rootWidget()->show();
    QApplication::processEvents();
  }

  qt::QtToolkit kit_;
  ToolkitPanel panel_{kit_, 2};
  qt::QtView* view_ = nullptr;
};

// A pass-code field holds up to five digits: what the filter refuses leaves
// the field as it was, keystroke by keystroke or a whole paste.
TEST_F(QtPanelTest, NumberFilterRefusesEditsOnARealLineEdit) {
  struct Case {
    const char* what;
    QString before;
    int selectFrom, selectLength;  // -1: the caret at the end
    QString typed;                 // keystrokes
    QString pasted;                // then a paste, when not empty
    QString after;
  };
  const Case cases[] = {
      {"letters typed", "", -1, 0, "12a3", "", "123"},
      {"too long typed", "1234", -1, 0, "567", "", "12345"},
      {"mixed text pasted", "12", -1, 0, "", "3x4", "12"},
      {"digits pasted", "12", -1, 0, "", "345", "12345"},
      {"too long pasted", "123", -1, 0, "", "456", "123"},
      {"a selection replaced by a keystroke", "12345", 1, 2, "9", "", "1945"},
      {"a selection replaced by a paste", "12345", 1, 2, "", "98", "19845"},
      {"a selection replaced by too much", "12345", 1, 2, "", "987", "12345"},
      {"a selection replaced by a letter", "12345", 1, 2, "x", "", "12345"},
  };
  QtUserPlayer player(*view_);
  QLineEdit& field = lineEdit(*view_, "accountNumberEditText");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    player.replaceText(field, c.before.toStdString());
    ASSERT_EQ(field.text(), c.before);
    if (c.selectFrom >= 0) field.setSelection(c.selectFrom, c.selectLength);
    QTest::keyClicks(&field, c.typed);
    if (!c.pasted.isEmpty()) {
      QApplication::clipboard()->setText(c.pasted);
      QTest::keyClick(&field, Qt::Key_V, Qt::ControlModifier);
    }
    EXPECT_EQ(field.text(), c.after);
  }
  // The refused letter left the selection too; deleting it is let through.
  EXPECT_EQ(field.selectedText(), "23");
  QTest::keyClick(&field, Qt::Key_Backspace);
  EXPECT_EQ(field.text(), "145");
}

// The panel's own writes send nothing; the user's gestures send the action
// the layout names, once.
class RecordingTarget final : public ActionTarget {
 public:
  void sendAction(std::string_view action, Control& sender) override {
    sent.push_back(std::string(action) + " " + sender.name());
  }
  std::vector<std::string> sent;
};

TEST(QtToolkitActionsTest, OnlyTheUsersChangesSendActions) {
  qt::QtToolkit kit;
  RecordingTarget target;
  auto loaded = kit.loadLayout(buildBundleFolder() / "layouts" / "JobControl2.ui", &target);
  ASSERT_TRUE(loaded);
  auto& view = dynamic_cast<qt::QtView&>(*loaded);
  view.rootWidget()->show();
  QApplication::processEvents();
  QtUserPlayer player(view);

  view.outlet("retentionCheckBox")->setState(1);
  view.outlet("suspendMatrix")->selectCellAtRow(2);
  view.outlet("folderSelectionPopup")->selectItemAtIndex(0);
  view.outlet("suspendKeyEditText")->setStringValue(u"12");
  view.outlet("tabView")->selectFirstTabViewItem();
  EXPECT_EQ(target.sent, std::vector<std::string>{});
  EXPECT_EQ(view.outlet("suspendMatrix")->selectedRow(), 2);

  view.outlet("retentionCheckBox")->setState(0);
  player.click(*view.control("retentionCheckBox")->widget());
  player.click(*view.control("holdAfterRadioButton")->widget());
  player.pick(*view.control("folderSelectionPopup")->widget(), 1);
  QTest::keyClick(view.control("suspendKeyEditText")->widget(), Qt::Key_3);
  const std::vector<std::string> sent = {"retentionCBoxProc: retentionCheckBox",
                                         "suspendKeyMatrixProc: suspendMatrix",
                                         "folderSelectionPopUpButtonProc: folderSelectionPopup",
                                         "suspendKeyETextProc: suspendKeyEditText"};
  EXPECT_EQ(target.sent, sent);
  EXPECT_EQ(view.outlet("retentionCheckBox")->state(), 1);
  EXPECT_EQ(view.outlet("suspendMatrix")->selectedRow(), 1);
  EXPECT_EQ(view.outlet("folderSelectionPopup")->indexOfSelectedItem(), 1);
  EXPECT_EQ(view.outlet("suspendKeyEditText")->stringValue(), u"123");
}

TEST_F(QtPanelTest, HoldBoxesShowTheLockOfTheirState) {
  auto& box = *qobject_cast<QCheckBox*>(view_->control("userNameButton")->widget());
  const auto shown = [&box] { return box.icon().pixmap(box.iconSize()).toImage(); };
  const ImagePtr unlocked = view_->control("userNameButton")->image();
  const ImagePtr locked = view_->control("userNameButton")->alternateImage();
  ASSERT_TRUE(unlocked && locked);
  EXPECT_EQ(unlocked->iconType, fourCharCode("ulck"));
  EXPECT_EQ(locked->iconType, fourCharCode("lock"));
  EXPECT_EQ(shown(), qt::pixmapFor(unlocked).toImage());
  QtUserPlayer(*view_).click(box);
  EXPECT_EQ(shown(), qt::pixmapFor(locked).toImage());
  view_->control("userNameButton")->setState(0);
  EXPECT_EQ(shown(), qt::pixmapFor(unlocked).toImage());
  EXPECT_NE(qt::pixmapFor(unlocked).toImage(), qt::pixmapFor(locked).toImage());
}

TEST_F(QtPanelTest, GrayTextIsThePalettesDisabledText) {
  QWidget& label = *view_->control("suspendKeyStaticText")->widget();
  const QColor disabled = label.palette().color(QPalette::Disabled, QPalette::WindowText);
  EXPECT_EQ(view_->control("suspendKeyStaticText")->textColor(), TextColor::Gray);
  EXPECT_EQ(label.palette().color(QPalette::Active, QPalette::WindowText), disabled);
  view_->control("suspendKeyStaticText")->setTextColor(TextColor::Black);
  EXPECT_NE(label.palette().color(QPalette::Active, QPalette::WindowText), disabled);

  // A field the drawing rule greys is drawn as a disabled one, its box too.
  QWidget& field = *view_->control("suspendKeyEditText")->widget();
  ASSERT_EQ(view_->control("suspendKeyEditText")->textColor(), TextColor::Gray);
  for (auto role : {QPalette::Base, QPalette::Text, QPalette::Button})
    EXPECT_EQ(field.palette().color(QPalette::Active, role),
              field.palette().color(QPalette::Disabled, role))
        << role;
  view_->control("suspendKeyEditText")->setTextColor(TextColor::Black);
  EXPECT_NE(field.palette().color(QPalette::Active, QPalette::Base),
            field.palette().color(QPalette::Disabled, QPalette::Base));
}

TEST(QtToolkitAlertTest, AlertIsAWindowModalMessageBoxThatReturnsWhenAnswered) {
  qt::QtToolkit kit;
  auto view = kit.loadLayout(buildBundleFolder() / "layouts" / "JobControl2.ui", nullptr);
  ASSERT_TRUE(view);
  QWidget* root = dynamic_cast<qt::QtView&>(*view).rootWidget();
  root->show();
  QString text, button;
  Qt::WindowModality modality = Qt::NonModal;
  QWidget* parent = nullptr;
  kit.setAlertObserver([&](QMessageBox& box) {
    text = box.text();
    button = box.buttons().value(0)->text();
    modality = box.windowModality();
    parent = box.parentWidget();
    QTimer::singleShot(0, box.buttons().value(0), &QAbstractButton::click);
  });
  kit.alert(u"", u"Could not retrieve Folder Names.", u"OK");
  EXPECT_EQ(text, "Could not retrieve Folder Names.");
  EXPECT_EQ(button, "OK");
  EXPECT_EQ(modality, Qt::WindowModal);
  EXPECT_EQ(parent, root);
  EXPECT_EQ(kit.alerts().size(), 1u);
}

TEST_F(QtPanelTest, ProgressIsABusyBarShownWhileAnimating) {
  Control& arrow = *view_->control("chasingArrow");
  auto& bar = *qobject_cast<QProgressBar*>(view_->control("chasingArrow")->widget());
  EXPECT_TRUE(arrow.isHidden());
  EXPECT_TRUE(bar.isHidden());
  arrow.startAnimation();
  arrow.setHidden(false);
  EXPECT_TRUE(arrow.isAnimating());
  EXPECT_EQ(bar.minimum(), 0);
  EXPECT_EQ(bar.maximum(), 0);  // busy
  EXPECT_FALSE(bar.isHidden());
  arrow.stopAnimation();
  arrow.setHidden(true);
  EXPECT_NE(bar.maximum(), 0);
  EXPECT_TRUE(bar.isHidden());
}

}  // namespace
}  // namespace jc::test
