// What the folder-list benchmarks share: a scratch folder, printers' answers
// of any size, and a reporter that keeps each run's times to print ratios.
#pragma once

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace jc::bench {

// A folder of this run under /tmp, made on first use; the caller removes it.
inline std::filesystem::path scratchFolder() {
  static const std::filesystem::path folder = [] {
    char pattern[] = "/tmp/jc-bench-XXXXXX";
    return std::filesystem::path(mkdtemp(pattern) ? pattern : "/tmp");
  }();
  return folder;
}

// The printer's answer with `count` folders, every third one protected, in
// the layout the printer sends (one entry a line).
inline std::string folderListAnswer(std::size_t count) {
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
  return xml;
}

// Keeps every run's real and CPU time per iteration (ms) by name.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (!run.error_occurred && run.run_type == Run::RT_Iteration) {
        real_[run.benchmark_name()] = run.GetAdjustedRealTime();
        cpu_[run.benchmark_name()] = run.GetAdjustedCPUTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::optional<double> time(const std::string& name, bool cpu = false) const {
    const auto& times = cpu ? cpu_ : real_;
    auto it = times.find(name);
    return it == times.end() ? std::nullopt : std::optional(it->second);
  }

  // The times of `benchmark` over 1,000, 10,000 and 100,000 folders and how
  // they grow, in real and in CPU time.
  void printGrowth(const std::string& benchmark, const char* what) const {
    for (bool cpu : {false, true}) {
      auto t1 = time(benchmark + "/1000", cpu);
      auto t10 = time(benchmark + "/10000", cpu);
      auto t100 = time(benchmark + "/100000", cpu);
      if (!t1 || !t10 || !t100) continue;
      const char* kind = cpu ? "cpu" : "real";
      std::printf("%s (%s time): 1,000 folders %.3f ms, 10,000 %.3f ms, 100,000 %.3f ms\n", what,
                  kind, *t1, *t10, *t100);
      std::printf(
          "growth ratio (%s time) 10,000/1,000 = %.2f, 100,000/10,000 = %.2f (linear: 10)\n", kind,
          *t10 / *t1, *t100 / *t10);
    }
  }

 private:
  std::map<std::string, double> real_;
  std::map<std::string, double> cpu_;
};

// The benchmarks' main: runs those named on the command line, hands their
// times to `report`, and removes the scratch folder.
inline int runWithRatios(int argc, char** argv,
                         const std::function<void(const RatioReporter&)>& report) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  report(reporter);
  std::filesystem::remove_all(scratchFolder());
  benchmark::Shutdown();
  return 0;
}

}  // namespace jc::bench
