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
#include <chrono>
#include <functional>
#include <optional>

#include "hosts/common/controls_json.h"
#include "hosts/qt/qt_run_loop.h"
#include "hosts/qt/qt_toolkit.h"
#include "qt/qt_user_player.h"
#include "qt/toolkit_panel.h"
#include "support/printer_simulator.h"

namespace jc::test {
namespace {

using Mode = PrinterSimulator::Mode;

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// What a timer saw of the busy bar while the panel waited for the printer.
struct WaitWatch {
  int ticks = 0;
  bool sawBusyBar = false;
  Clock::duration elapsed{};  // of the button's press, until the panel was done

  // How many times a timer of `interval` should have fired meanwhile.
  double expectedTicks(milliseconds interval) const {
    return std::chrono::duration<double>(elapsed) / interval;
  }
};

constexpr milliseconds kWatchInterval{20};

struct QtFolderFetch {
  explicit QtFolderFetch(PrinterSimulator::Options options) : printer(options) {
    panel.host.loop = &loop;
    view = &dynamic_cast<qt::QtView&>(panel.open());
    view->rootWidget()->show();
    QApplication::processEvents();
  }

  // Types the printer's address and presses the folder-list button, with a
  // timer watching the busy bar while the exchange runs.
  WaitWatch fetch(const std::function<void(WaitWatch&)>& onTick = {}) {
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
      if (onTick) onTick(watch);
    });
    timer.setTimerType(Qt::PreciseTimer);
    timer.start(kWatchInterval);
    const auto start = Clock::now();
    player.click(*view->control("getFolderNameButton")->widget());
    watch.elapsed = Clock::now() - start;
    return watch;
  }

  PrinterSimulator printer;
  qt::QtToolkit kit;
  qt::QtRunLoop loop;
  ToolkitPanel panel{kit, 2};
  qt::QtView* view = nullptr;
};

// The printer keeps silent for a second before it answers in pieces: Qt's
// timers keep their own rate all along, not only when the printer speaks.
TEST(QtFolderListTest, FetchesWhileQtsEventLoopTurnsAndRebuildsThePopUp) {
  PrinterSimulator::Options slow;
  slow.mode = Mode::Pieces;
  slow.delay = milliseconds(1000);
  slow.pause = milliseconds(150);
  QtFolderFetch f(slow);
  const WaitWatch watch = f.fetch();
  EXPECT_GT(f.loop.turns(), 0);
  EXPECT_GE(watch.elapsed, milliseconds(1000));
  EXPECT_GE(watch.ticks, watch.expectedTicks(kWatchInterval) / 2);
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

// The button pressed again while the panel waits starts no second request:
// the press is dropped and the first fetch ends as it would have.
TEST(QtFolderListTest, ASecondPressWhileFetchingStartsNoSecondRequest) {
  PrinterSimulator::Options slow;
  slow.delay = milliseconds(600);
  QtFolderFetch f(slow);
  int pressesDuringTheWait = 0;
  const WaitWatch watch = f.fetch([&](WaitWatch& w) {
    if (w.ticks != 10) return;
    ++pressesDuringTheWait;
    QtUserPlayer(*f.view).click(*f.view->control("getFolderNameButton")->widget());
  });
  EXPECT_EQ(pressesDuringTheWait, 1);
  EXPECT_TRUE(watch.sawBusyBar);
  EXPECT_EQ(f.printer.requests().size(), 1u);
  EXPECT_EQ(f.kit.alerts().size(), 0u);
  EXPECT_EQ(f.view->control("folderSelectionPopup")->numberOfItems(), 6);
  EXPECT_TRUE(f.view->control("chasingArrow")->isHidden());
}

// The real time-out: a printer that never answers brings the alert after 20
// seconds, and Qt's timers run at their rate until then.
TEST(QtFolderListTest, StalledPrinterAlertsAfterTwentySecondsWhileTimersRun) {
  PrinterSimulator::Options stalled;
  stalled.mode = Mode::Stall;
  QtFolderFetch f(stalled);
  std::optional<Clock::time_point> alertAt;
  int ticksAtAlert = 0;
  int ticks = 0;
  QTimer counter;
  QObject::connect(&counter, &QTimer::timeout, [&] { ++ticks; });
  f.kit.setAlertObserver([&](QMessageBox& box) {
    alertAt = Clock::now();
    ticksAtAlert = ticks;
    QTimer::singleShot(0, box.buttons().value(0), &QAbstractButton::click);
  });
  const auto start = Clock::now();
  counter.start(milliseconds(100));
  f.fetch();
  ASSERT_TRUE(alertAt.has_value());
  EXPECT_GE(*alertAt - start, std::chrono::seconds(20));
  EXPECT_LT(*alertAt - start, std::chrono::seconds(21));
  EXPECT_GE(ticksAtAlert, 100);  // of the 200 that a 100 ms timer fires in 20 seconds
  EXPECT_EQ(f.kit.alerts().size(), 1u);
  EXPECT_EQ(f.printer.requests().size(), 1u);
  EXPECT_TRUE(f.view->control("chasingArrow")->isHidden());
}

}  // namespace
}  // namespace jc::test
