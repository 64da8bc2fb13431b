// What the folder-list benchmarks share: a scratch folder, printers' answers
// of any size, and a reporter that keeps each run's times to print ratios.
#pragma once

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

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

// The path of jc_printer_simulator: $JC_PRINTER_SIMULATOR, else beside this
// executable, else in the build tree's bin folder next to the bench folder.
inline std::filesystem::path simulatorPath() {
  if (const char* path = std::getenv("JC_PRINTER_SIMULATOR")) return path;
  const auto folder = std::filesystem::read_symlink("/proc/self/exe").parent_path();
  for (const auto& candidate :
       {folder / "jc_printer_simulator", folder.parent_path() / "bin" / "jc_printer_simulator"}) {
    if (std::filesystem::exists(candidate)) return candidate;
  }
  return folder / "jc_printer_simulator";
}

// jc_printer_simulator answering with `folders` numbered folders, started as
// a child process and stopped by its id when this object goes.
class SimulatorProcess {
 public:
  explicit SimulatorProcess(std::size_t folders) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    const std::string path = simulatorPath().string();
    std::vector<std::string> args = {path, "--count", std::to_string(folders), "--lifetime", "900"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, path.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (pid_ > 0) {
      char line[32] = {};
      ssize_t n = ::read(out[0], line, sizeof line - 1);
      if (n > 0) port_ = std::atoi(line);
    }
    ::close(out[0]);
  }
  ~SimulatorProcess() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  SimulatorProcess(const SimulatorProcess&) = delete;
  SimulatorProcess& operator=(const SimulatorProcess&) = delete;
  int port() const { return port_; }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
};

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
