// What the user waits for after the printer has answered: reading the
// response file (parseXML) and rebuilding the folder pop-up (makeFolderPopup)
// on a panel of the in-memory toolkit, for 1,000 to 100,000 folders. Each
// iteration replaces a pop-up that already shows the whole list, as a second
// press of the button does.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "bench_support.h"
#include "hosts/headless/headless_toolkit.h"
#include "platform/directory_bundle.h"
#include "plugin/panel.h"

namespace jc {
namespace {

// A host with the sample printer, no print settings and the in-memory toolkit.
class BenchHost final : public HostCallback, public PrintSession, public Printer {
 public:
  BenchHost() {
    ppd_ = ppdOpenFile(
        (std::filesystem::path(JC_BUILD_BUNDLE_DIR) / "printer" / "Sample_MFP.ppd").c_str());
    if (ppd_) ppdMarkDefaults(ppd_);
  }
  ~BenchHost() override {
    if (ppd_) ppdClose(ppd_);
  }
  BenchHost(const BenchHost&) = delete;
  BenchHost& operator=(const BenchHost&) = delete;

  bool respondsToWillChangePPDOptionKeyValue() const override { return true; }
  ppd_file_t* ppdFile() override { return ppd_; }
  PrintSession* printSession() override { return this; }
  PrintSettings* printSettings() override { return &settings_; }
  Toolkit* toolkit() override { return &toolkit_; }
  Printer* currentPrinter() override { return this; }
  std::optional<std::string> deviceURI() const override { return "socket://localhost:9100"; }
  std::string printerID() const override { return "Sample_MFP"; }

 private:
  ppd_file_t* ppd_ = nullptr;
  PrintSettings settings_;
  HeadlessToolkit toolkit_;
};

using bench::scratchFolder;

// The printer's answer with `count` folders, kept in the scratch folder.
std::filesystem::path answerFile(std::size_t count) {
  const auto file = scratchFolder() / ("vwxyz-" + std::to_string(count) + ".xml");
  if (!std::filesystem::exists(file))
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bench::folderListAnswer(count);
  return file;
}

void BM_ParseAndRebuildPopUp(benchmark::State& state) {
  const auto count = static_cast<std::size_t>(state.range(0));
  const auto file = answerFile(count);
  BenchHost host;
  PanelEnvironment env;
  env.bundle = std::make_shared<DirectoryBundle>(JC_BUILD_BUNDLE_DIR, "en");
  env.responseFile = file;
  env.systemVersionFile = scratchFolder() / "SystemVersion.plist";
  KorvelPrintPdeVx418JC panel(&host, env);
  panel.panelView();
  panel.willShow();
  if (!panel.folderSelectionPopup) return state.SkipWithError("the layout has no folder pop-up");
  const int expectedItems = static_cast<int>(count) + 3;
  // The first build is not timed: every timed one replaces a full pop-up.
  panel.parseXML(file);
  panel.makeFolderPopup();
  for (auto _ : state) {
    if (!panel.parseXML(file)) return state.SkipWithError("the answer was not read");
    panel.makeFolderPopup();
    if (panel.folderSelectionPopup->numberOfItems() != expectedItems)
      return state.SkipWithError("wrong item count");
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(count));
}
BENCHMARK(BM_ParseAndRebuildPopUp)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

// The pop-up rebuild alone, from a list already read.
void BM_RebuildPopUp(benchmark::State& state) {
  const auto count = static_cast<std::size_t>(state.range(0));
  BenchHost host;
  PanelEnvironment env;
  env.bundle = std::make_shared<DirectoryBundle>(JC_BUILD_BUNDLE_DIR, "en");
  env.systemVersionFile = scratchFolder() / "SystemVersion.plist";
  KorvelPrintPdeVx418JC panel(&host, env);
  panel.panelView();
  panel.willShow();
  if (!panel.folderSelectionPopup) return state.SkipWithError("the layout has no folder pop-up");
  if (!panel.parseXML(answerFile(count))) return state.SkipWithError("the answer was not read");
  panel.makeFolderPopup();
  for (auto _ : state) panel.makeFolderPopup();
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(count));
}
BENCHMARK(BM_RebuildPopUp)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace jc

int main(int argc, char** argv) {
  return jc::bench::runWithRatios(argc, argv, [](const jc::bench::RatioReporter& reporter) {
    reporter.printGrowth("BM_ParseAndRebuildPopUp", "parse + pop-up");
  });
}
