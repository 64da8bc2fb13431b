// What the user waits for after the printer has answered: reading the
// response file (parseXML) and rebuilding the folder pop-up (makeFolderPopup)
// on a panel of the in-memory toolkit, for 1,000 to 100,000 folders. Each
// iteration replaces a pop-up that already shows the whole list, as a second
// press of the button does.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>

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

std::filesystem::path scratchFolder() {
  static const std::filesystem::path folder = [] {
    char pattern[] = "/tmp/jc-popup-bench-XXXXXX";
    return std::filesystem::path(mkdtemp(pattern) ? pattern : "/tmp");
  }();
  return folder;
}

// The printer's answer with `count` folders, every third one protected, in
// the layout the printer sends (one entry a line).
std::filesystem::path answerFile(std::size_t count) {
  const auto file = scratchFolder() / ("vwxyz-" + std::to_string(count) + ".xml");
  if (std::filesystem::exists(file)) return file;
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
      "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\">\n  <s:Body>\n"
      "    <listfiles-response>\n      <result-code>ok</result-code>\n      <files>\n";
  char line[160];
  for (std::size_t i = 0; i < count; ++i) {
    std::snprintf(line, sizeof line,
                  "        <file><name>Folder %06zu</name><password>%s</password>"
                  "<dir>true</dir></file>\n",
                  i + 1, i % 3 == 0 ? "true" : "false");
    xml += line;
  }
  xml += "      </files>\n    </listfiles-response>\n  </s:Body>\n</s:Envelope>\n";
  std::ofstream(file, std::ios::binary | std::ios::trunc) << xml;
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
    if (panel.folderSelectionPopup.numberOfItems() != expectedItems)
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

// Keeps each run's real and CPU time per iteration (ms), to print the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (!run.error_occurred && run.run_type == Run::RT_Iteration) {
        real[run.benchmark_name()] = run.GetAdjustedRealTime();
        cpu[run.benchmark_name()] = run.GetAdjustedCPUTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::optional<double> time(const std::string& name, bool cpuTime) const {
    const auto& times = cpuTime ? cpu : real;
    auto it = times.find(name);
    return it == times.end() ? std::nullopt : std::optional(it->second);
  }
  std::map<std::string, double> real;
  std::map<std::string, double> cpu;
};

}  // namespace
}  // namespace jc

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  jc::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (bool cpu : {false, true}) {
    auto t1 = reporter.time("BM_ParseAndRebuildPopUp/1000", cpu);
    auto t10 = reporter.time("BM_ParseAndRebuildPopUp/10000", cpu);
    auto t100 = reporter.time("BM_ParseAndRebuildPopUp/100000", cpu);
    if (!t1 || !t10 || !t100) continue;
    const char* kind = cpu ? "cpu" : "real";
    std::printf(
        "parse + pop-up (%s time): 1,000 folders %.3f ms, 10,000 %.3f ms, 100,000 %.3f ms\n", kind,
        *t1, *t10, *t100);
    std::printf("growth ratio (%s time) 10,000/1,000 = %.2f, 100,000/10,000 = %.2f (linear: 10)\n",
                kind, *t10 / *t1, *t100 / *t10);
  }
  std::filesystem::remove_all(jc::scratchFolder());
  benchmark::Shutdown();
  return 0;
}
