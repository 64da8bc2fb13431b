// jobcontrol-agent's latency with the real scheduler, off screen: from a
// job's creation (just before `lp` runs) to its window shown, and from the
// click on Print to the job released (entries added, Release-Job answered).
// Prints the median, fastest and slowest of each over N jobs.
//
//   agent_latency QUEUE [N]
//
// QUEUE must hold its jobs (job-hold-until-default=indefinite); its jobs are
// printed by the calling user and cancelled at the end.
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "hosts/qt/job_agent.h"
#include "support/process_runner.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void report(const char* what, std::vector<double> times) {
  std::sort(times.begin(), times.end());
  std::printf("%-22s median %7.1f ms  min %7.1f  max %7.1f  (%zu jobs)\n", what,
              times[times.size() / 2], times.front(), times.back(), times.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: agent_latency QUEUE [N]\n");
    return 2;
  }
  const std::string queue = argv[1];
  const int rounds = argc > 2 ? std::stoi(argv[2]) : 20;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  jc::qt::AgentOptions options;
  options.tab.modulePath = JC_MODULE_PATH;
  options.tab.bundleFolder = JC_BUILD_BUNDLE_DIR;
  options.tab.prefsFolder = std::string(JC_BENCH_SCRATCH) + "/prefs";
  jc::qt::JobAgent agent(options);
  Clock::time_point created;
  std::vector<double> shown, released;
  agent.onWindowShown = [&](jc::qt::HeldJobWindow&) { shown.push_back(millisSince(created)); };
  if (!agent.start()) return std::fprintf(stderr, "no system bus\n"), 1;
  for (int i = 0; i < rounds; ++i) {
    const std::size_t before = shown.size();
    created = Clock::now();
    jc::test::runProcess(
        {"/usr/bin/lp", "-d", queue, "-t", "Bench " + std::to_string(i), "/etc/hostname"});
    if (!QTest::qWaitFor([&] { return shown.size() > before; }, 10000))
      return std::fprintf(stderr, "no window for job %d\n", i), 1;
    const Clock::time_point print = Clock::now();
    QTest::mouseClick(&agent.window()->printButton(), Qt::LeftButton);
    released.push_back(millisSince(print));
    if (agent.window()) return std::fprintf(stderr, "job %d was not released\n", i), 1;
  }
  report("creation to window", shown);
  report("Print to release", released);
  return 0;
}
