// What the user waits for after the printer has answered: reading the
// response file (parseXML) and rebuilding the folder pop-up (makeFolderPopup)
// on a panel of the in-memory toolkit, for 1,000 to 100,000 folders. Each
// iteration replaces a pop-up that already shows the whole list, as a second
// press of the button does.
//
// After the benchmarks, one whole press of the folder-list button (the
// exchange with jc_printer_simulator, the parse, the stored preference domain
// and the pop-up) runs in a fresh process for 10,000 and 100,000 folders, and
// its time and peak memory (ru_maxrss) are printed: into a new preference
// domain, without one, and again into a domain that holds the list already.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bench_support.h"
#include "hosts/headless/headless_toolkit.h"
#include "platform/directory_bundle.h"
#include "platform/text.h"
#include "plugin/panel.h"
#include "prefs/domain_store.h"

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

long peakKilobytes() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Where the pressed list goes: nowhere, into a new preference domain, or
// into one that holds the same list from an earlier press already.
enum class Store { None, Fresh, Again };
constexpr const char* kStoreNames[] = {"no-store", "store", "again"};

// A dialog whose panel shows, with the printer's address typed in.
struct Dialog {
  BenchHost host;
  KorvelPrintPdeVx418JC panel;
  Dialog(const PanelEnvironment& env, int port) : panel(&host, env) {
    panel.panelView();
    panel.willShow();
    panel.printersAddressEditText->setStringValue(fromUtf8("127.0.0.1:" + std::to_string(port)));
  }
};

// One press of the folder-list button in this process, against the simulator
// on `port`, with the list stored as `store` says; prints
// "<milliseconds> <peak KiB before> <peak KiB after>". With Store::Again the
// peak before includes the dialog's opening, which reads the stored list.
int pressOnce(int port, std::size_t count, Store store) {
  const auto folder = scratchFolder() / ("press-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  // The printer's answer is kept only in a folder no one else can enter.
  std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
  PanelEnvironment env;
  env.bundle = std::make_shared<DirectoryBundle>(JC_BUILD_BUNDLE_DIR, "en");
  if (store != Store::None) env.preferences = std::make_shared<FileDomainStore>(folder / "prefs");
  env.responseFile = folder / "vwxyz.xml";
  env.systemVersionFile = folder / "SystemVersion.plist";
  if (store == Store::Again) Dialog(env, port).panel.getFolderNameButtonProc();
  Dialog dialog(env, port);
  KorvelPrintPdeVx418JC& panel = dialog.panel;
  const long before = peakKilobytes();
  const auto start = std::chrono::steady_clock::now();
  panel.getFolderNameButtonProc();
  const std::chrono::duration<double, std::milli> elapsed =
      std::chrono::steady_clock::now() - start;
  const long after = peakKilobytes();
  std::filesystem::remove_all(folder);
  if (!panel.folderList || panel.folderList->size() != count ||
      panel.folderSelectionPopup->numberOfItems() != static_cast<int>(count) + 3) {
    const auto outcome = panel.folderListOutcome();
    std::fprintf(stderr, "the press did not show %zu folders: %s\n", count,
                 outcome ? outcome->message.c_str() : "no outcome");
    return 1;
  }
  std::printf("%.3f %ld %ld\n", elapsed.count(), before, after);
  return 0;
}

struct Press {
  double milliseconds = 0;
  long before = 0;  // KiB
  long peak = 0;    // KiB
};

// One press in a fresh process of this program.
std::optional<Press> pressInFreshProcess(int port, std::size_t count, Store store) {
  // Appended piecewise: GCC 12 warns falsely (-Wrestrict) on long sums at -O3.
  std::string command = std::filesystem::read_symlink("/proc/self/exe").string();
  command += " --press-once ";
  command += std::to_string(port);
  command += " ";
  command += std::to_string(count);
  command += " ";
  command += kStoreNames[static_cast<int>(store)];
  std::FILE* child = ::popen(command.c_str(), "r");
  if (!child) return std::nullopt;
  Press press;
  const bool read =
      std::fscanf(child, "%lf %ld %ld", &press.milliseconds, &press.before, &press.peak) == 3;
  if (::pclose(child) != 0 || !read) return std::nullopt;
  return press;
}

// The median of three fresh presses for each size, and how they grow.
void reportFreshPresses(Store store) {
  const char* titles[] = {"without a preference store (exchange, parse and pop-up only):",
                          "with the preference domain stored:",
                          "with the list stored again over the same list (a second press):"};
  std::printf("%s\n", titles[static_cast<int>(store)]);
  std::optional<Press> at[2];
  const std::size_t counts[2] = {10000, 100000};
  for (int i = 0; i < 2; ++i) {
    bench::SimulatorProcess printer(counts[i]);
    if (printer.port() == 0) {
      std::printf("fresh press: jc_printer_simulator did not start\n");
      return;
    }
    std::vector<Press> runs;
    for (int run = 0; run < 3; ++run) {
      if (auto press = pressInFreshProcess(printer.port(), counts[i], store))
        runs.push_back(*press);
    }
    if (runs.empty()) continue;
    std::sort(runs.begin(), runs.end(),
              [](const Press& a, const Press& b) { return a.milliseconds < b.milliseconds; });
    at[i] = runs[runs.size() / 2];
    std::printf(
        "fresh press, %zu folders: %.1f ms, peak %.1f MB (%.1f MB before the press, +%.1f MB)\n",
        counts[i], at[i]->milliseconds, at[i]->peak / 1024.0, at[i]->before / 1024.0,
        (at[i]->peak - at[i]->before) / 1024.0);
  }
  if (at[0] && at[1]) {
    std::printf("growth 10,000 -> 100,000 folders: time x%.2f, peak +%.1f MB (x%.2f)\n",
                at[1]->milliseconds / at[0]->milliseconds, (at[1]->peak - at[0]->peak) / 1024.0,
                static_cast<double>(at[1]->peak) / static_cast<double>(at[0]->peak));
  }
}

}  // namespace
}  // namespace jc

int main(int argc, char** argv) {
  if (argc == 5 && std::string(argv[1]) == "--press-once") {
    jc::Store store = jc::Store::None;
    for (jc::Store s : {jc::Store::Fresh, jc::Store::Again})
      if (argv[4] == std::string(jc::kStoreNames[static_cast<int>(s)])) store = s;
    const int code = jc::pressOnce(std::atoi(argv[2]), std::strtoul(argv[3], nullptr, 10), store);
    std::filesystem::remove_all(jc::bench::scratchFolder());
    return code;
  }
  return jc::bench::runWithRatios(argc, argv, [](const jc::bench::RatioReporter& reporter) {
    reporter.printGrowth("BM_ParseAndRebuildPopUp", "parse + pop-up");
    jc::reportFreshPresses(jc::Store::Fresh);
    jc::reportFreshPresses(jc::Store::None);
    jc::reportFreshPresses(jc::Store::Again);
  });
}
