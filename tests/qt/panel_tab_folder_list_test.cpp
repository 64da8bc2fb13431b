// The folder-list button in the dialog's tab, against a printer on the
// loopback interface: a failure's alert keeps its text and gives the reason,
// a success says how many folders came, a long name is cut with "…".
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>

#include "hosts/qt/panel_tab.h"
#include "qt/qt_user_player.h"
#include "support/panel_fixture.h"
#include "support/printer_simulator.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace jc::test {
namespace {

using Mode = PrinterSimulator::Mode;

struct Answered {
  QString text, detail;
};

class PanelTabFolderListTest : public ::testing::Test {
 protected:
  PanelTabFolderListTest() {
    env_.set("LANGUAGE", "C").set("XDG_RUNTIME_DIR", dir_.path().string());
    printer_.setOutputFileName(QString::fromStdString((dir_.path() / "out.pdf").string()));
    qt::PanelTabOptions options;
    options.modulePath = JC_MODULE_PATH;
    options.bundleFolder = buildBundleFolder();
    options.prefsFolder = dir_.path() / "prefs";
    tab_ = std::make_unique<qt::PanelTab>(dialog_, options);
    tab_->ensurePanel();
    tab_->toolkit().setAlertObserver([this](QMessageBox& box) {
      answered_.push_back({box.text(), box.informativeText()});
      QTimer::singleShot(0, box.buttons().value(0), &QAbstractButton::click);
    });
  }

  // The user types the printer's address and presses "Get Folder Names".
  void fetchFrom(const PrinterSimulator& printer) {
    QtUserPlayer player(*tab_->view());
    player.replaceText(
        *qobject_cast<QLineEdit*>(tab_->view()->control("printersAddressEditText")->widget()),
        printer.address());
    player.click(*tab_->view()->control("getFolderNameButton")->widget());
  }

  QLabel* status() { return tab_->widget().findChild<QLabel*>("folderListStatus"); }

  ScopedEnv env_;
  TempDir dir_;
  QPrinter printer_;
  QPrintDialog dialog_{&printer_};
  std::unique_ptr<qt::PanelTab> tab_;
  std::vector<Answered> answered_;
};

TEST_F(PanelTabFolderListTest, AFailureGivesItsReasonAsTheAlertsDetail) {
  PrinterSimulator::Options failing;
  failing.mode = Mode::ServerError;
  PrinterSimulator printer(failing);
  fetchFrom(printer);
  ASSERT_EQ(answered_.size(), 1u);
  EXPECT_EQ(answered_[0].text, "Could not retrieve Folder Names.");
  EXPECT_EQ(answered_[0].detail, "The printer answered with HTTP status 500.");
  EXPECT_EQ(status(), nullptr);
}

TEST_F(PanelTabFolderListTest, ASuccessSaysHowManyFoldersCame) {
  PrinterSimulator::Options listing;
  const QString longName(60, QLatin1Char('W'));
  listing.folders = {{"Projects", false, true}, {longName.toStdString(), false, true}};
  PrinterSimulator printer(listing);
  auto* popUp = qobject_cast<QComboBox*>(tab_->view()->control("folderSelectionPopup")->widget());
  const int widthBefore = popUp->sizeHint().width();
  fetchFrom(printer);
  EXPECT_TRUE(answered_.empty());
  ASSERT_NE(status(), nullptr);
  EXPECT_EQ(status()->text(), "The printer listed 2 folders.");
  // The long name does not widen the pop-up: its closed box cuts it with "…".
  EXPECT_EQ(popUp->count(), 5);
  EXPECT_EQ(popUp->sizeHint().width(), widthBefore);
}

}  // namespace
}  // namespace jc::test
