// The folder list fetched from a printer on the loopback interface while Qt's
// event loop keeps turning: the busy bar shows during the wait, the pop-up is
// rebuilt with the printer's folders, and a failure is a message box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "hosts/common/controls_json.h"
#include "hosts/qt/qt_run_loop.h"
#include "hosts/qt/qt_toolkit.h"
#include "qt/qt_user_player.h"
#include "qt/toolkit_panel.h"
#include "support/printer_simulator.h"

namespace jc::test {
namespace {

using Mode = PrinterSimulator::Mode;

// What a timer saw of the busy bar while the panel waited for the printer.
struct WaitWatch {
  int ticks = 0;
  bool sawBusyBar = false;
};

struct QtFolderFetch {
  explicit QtFolderFetch(PrinterSimulator::Options options) : printer(options) {
    panel.host.loop = &loop;
    view = &dynamic_cast<qt::QtView&>(panel.open());
    view->rootWidget()->show();
    QApplication::processEvents();
  }

  // Types the printer's address and presses the folder-list button, with a
  // timer watching the busy bar while the exchange runs.
  WaitWatch fetch() {
    QtUserPlayer player(*view);
    player.replaceText(
        *qobject_cast<QLineEdit*>(view->control("printersAddressEditText")->widget()),
        printer.address());
    auto* bar = qobject_cast<QProgressBar*>(view->control("chasingArrow")->widget());
    WaitWatch watch;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
      ++watch.ticks;
      watch.sawBusyBar |= bar->isVisible() && bar->maximum() == 0;
    });
    timer.start(20);
    player.click(*view->control("getFolderNameButton")->widget());
    return watch;
  }

  PrinterSimulator printer;
  qt::QtToolkit kit;
  qt::QtRunLoop loop;
  ToolkitPanel panel{kit, 2};
  qt::QtView* view = nullptr;
};

TEST(QtFolderListTest, FetchesWhileQtsEventLoopTurnsAndRebuildsThePopUp) {
  PrinterSimulator::Options slow;
  slow.mode = Mode::Pieces;
  slow.pause = std::chrono::milliseconds(150);
  QtFolderFetch f(slow);
  const WaitWatch watch = f.fetch();
  EXPECT_GT(f.loop.turns(), 0);
  EXPECT_GT(watch.ticks, 0);
  EXPECT_TRUE(watch.sawBusyBar);
  EXPECT_EQ(f.kit.alerts().size(), 0u);
  EXPECT_TRUE(f.view->control("chasingArrow")->isHidden());
  const nlohmann::json items =
      nlohmann::json::parse(controlsJson(*f.view).at("folderSelectionPopup").at("items").dump());
  EXPECT_EQ(items, nlohmann::json::parse(R"([
    {"title": "Quick File"}, {"title": "Main Folder"}, {"separator": true},
    {"title": "Projects"}, {"title": "Payroll", "icon": "lock"}, {"title": "Scans"}])"));
  EXPECT_EQ(f.printer.requests().size(), 1u);
}

TEST(QtFolderListTest, AFailedFetchIsAWindowModalAlert) {
  PrinterSimulator::Options failing;
  failing.mode = Mode::ServerError;
  QtFolderFetch f(failing);
  QString shown;
  f.kit.setAlertObserver([&](QMessageBox& box) {
    shown = box.text();
    QTimer::singleShot(0, box.buttons().value(0), &QAbstractButton::click);
  });
  f.fetch();
  EXPECT_EQ(shown, "Could not retrieve Folder Names.");
  ASSERT_EQ(f.kit.alerts().size(), 1u);
  EXPECT_EQ(f.view->control("folderSelectionPopup")->numberOfItems(), 2);
  EXPECT_TRUE(f.view->control("chasingArrow")->isHidden());
}

}  // namespace
}  // namespace jc::test
