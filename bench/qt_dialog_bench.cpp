// The Qt dialog, off screen: opening Qt's print dialog with the Job Control
// tab against the plain dialog for the same printer, in the same run (and
// with the tab opened, which makes the panel); and rebuilding the folder
// pop-up of a real QComboBox with 10,000 folders.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "bench_support.h"
#include "hosts/common/printer_host.h"
#include "hosts/qt/dialog_picture.h"
#include "hosts/qt/panel_tab.h"
#include "hosts/qt/qt_toolkit.h"
#include "platform/directory_bundle.h"
#include "plugin/panel.h"
#include "prefs/domain_store.h"

namespace jc {
namespace {

// Opens a dialog, shows and paints it, closes it; with the tab, optionally
// opens the tab as the user does (which makes the panel).
void openDialog(QPrinter& printer, bool withTab, bool showTab = false) {
  QPrintDialog dialog(&printer);
  std::unique_ptr<qt::PanelTab> tab;
  if (withTab) {
    qt::PanelTabOptions options;
    options.modulePath = JC_MODULE_PATH;
    options.bundleFolder = JC_BUILD_BUNDLE_DIR;
    options.prefsFolder = bench::scratchFolder() / "prefs";
    tab = std::make_unique<qt::PanelTab>(dialog, options);
  }
  dialog.show();
  QApplication::processEvents();
  if (tab && showTab) qt::showJobControlTab(dialog, *tab, 0);
  benchmark::DoNotOptimize(dialog.grab());
  dialog.hide();
}

void BM_PlainPrintDialog(benchmark::State& state) {
  QPrinter printer;
  for (auto _ : state) openDialog(printer, false);
}
BENCHMARK(BM_PlainPrintDialog)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_PrintDialogWithJobControlTab(benchmark::State& state) {
  QPrinter printer;
  for (auto _ : state) openDialog(printer, true);
}
BENCHMARK(BM_PrintDialogWithJobControlTab)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_PrintDialogWithJobControlTabShown(benchmark::State& state) {
  QPrinter printer;
  for (auto _ : state) openDialog(printer, true, true);
}
BENCHMARK(BM_PrintDialogWithJobControlTabShown)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The two openings in turn, each timed on its own, so that both see the same
// load of the machine; the ratio is the tab's cost.
void BM_DialogOpeningsInTurn(benchmark::State& state) {
  QPrinter printer;
  using Clock = std::chrono::steady_clock;
  double plain = 0, tab = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    openDialog(printer, false);
    const auto t1 = Clock::now();
    openDialog(printer, true);
    const auto t2 = Clock::now();
    plain += std::chrono::duration<double, std::milli>(t1 - t0).count();
    tab += std::chrono::duration<double, std::milli>(t2 - t1).count();
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["plain_ms"] = plain / n;
  state.counters["tab_ms"] = tab / n;
  state.counters["ratio"] = tab / plain;
}
BENCHMARK(BM_DialogOpeningsInTurn)->Unit(benchmark::kMillisecond)->MinTime(4.0);

// Rebuilds the pop-up of a shown panel whose pop-up already holds the list,
// as a second press of the folder-list button does.
void BM_QtFolderPopupRebuild(benchmark::State& state) {
  const auto count = static_cast<std::size_t>(state.range(0));
  PrinterInfo printer = embeddedDefaultPrinter(JC_BUILD_BUNDLE_DIR);
  qt::QtToolkit toolkit;
  PrinterHost host(printer, std::nullopt, &toolkit, nullptr);
  PanelEnvironment env;
  env.bundle = std::make_shared<DirectoryBundle>(JC_BUILD_BUNDLE_DIR, "en");
  env.preferences = std::make_shared<FileDomainStore>(bench::scratchFolder() / "popup-prefs");
  KorvelPrintPdeVx418JC panel(&host, env);
  auto* view = dynamic_cast<qt::QtView*>(panel.panelView());
  view->rootWidget()->show();
  FolderList folders;
  for (std::size_t i = 0; i < count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "Folder %06zu", i + 1);
    folders.push_back(FolderEntry{std::u16string(name, name + std::char_traits<char>::length(name)),
                                  i % 3 == 0, true, false});
  }
  panel.folderList = folders;
  panel.makeFolderPopup();
  for (auto _ : state) {
    panel.makeFolderPopup();
    QApplication::processEvents();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(count));
}
BENCHMARK(BM_QtFolderPopupRebuild)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace jc

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  return jc::bench::runWithRatios(argc, argv, [](const jc::bench::RatioReporter& reporter) {
    const auto plain = reporter.time("BM_PlainPrintDialog/min_time:2.000");
    const auto tab = reporter.time("BM_PrintDialogWithJobControlTab/min_time:2.000");
    if (plain && tab)
      std::printf("opening with the tab / plain dialog (real time): %.3f ms / %.3f ms = %.2f\n",
                  *tab, *plain, *tab / *plain);
    if (auto t = reporter.time("BM_QtFolderPopupRebuild/10000"))
      std::printf("folder pop-up of 10,000 folders on a QComboBox: %.1f ms\n", *t);
  });
}
