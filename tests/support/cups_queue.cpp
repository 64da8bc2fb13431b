#include "support/cups_queue.h"

#include <cups/cups.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "support/file_text.h"
#include "support/panel_fixture.h"
#include "support/process_runner.h"

namespace jc::test {

bool schedulerRuns() {
  http_t* http =
      httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 3000, nullptr);
  if (!http) return false;
  httpClose(http);
  return true;
}

namespace {

// Waits up to ten seconds for `done`.
template <typename Done>
bool within10s(Done done) {
  for (int i = 0; i < 100; ++i) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return done();
}

// Whether the process has ended (gone, or a zombie nobody reaps).
bool ended(pid_t pid) {
  const auto stat = readFileIfAny("/proc/" + std::to_string(pid) + "/stat");
  const auto state = stat ? stat->find(") ") : std::string::npos;
  return state == std::string::npos || stat->compare(state + 2, 1, "Z") == 0;
}

// Takes the subscriptions `ids` out of the scheduler's file of them and of
// its backup, which it reads where the file is missing.
void forgetSubscriptions(const std::vector<int>& ids) {
  for (const char* file : {"/etc/cups/subscriptions.conf", "/etc/cups/subscriptions.conf.O"}) {
    const auto text = readFileIfAny(file);
    if (!text) continue;
    std::istringstream lines(*text);
    std::string kept, line;
    bool dropping = false;
    while (std::getline(lines, line)) {
      for (int id : ids) dropping = dropping || line == "<Subscription " + std::to_string(id) + ">";
      if (!dropping) kept += line + "\n";
      if (line == "</Subscription>") dropping = false;
    }
    writeFile(file, kept);
  }
}

}  // namespace

bool restartScheduler(const std::vector<int>& forgotten) {
  if (geteuid() != 0) return false;
  const bool systemd = std::filesystem::exists("/run/systemd/system");
  if (systemd) {
    if (runProcess({"/usr/bin/systemctl", "stop", "cups.service", "cups.socket"}).exitStatus != 0)
      return false;
  } else {
    const pid_t cupsd = std::atoi(readFileIfAny("/run/cups/cupsd.pid").value_or("0").c_str());
    if (cupsd <= 0 || kill(cupsd, SIGTERM) != 0 || !within10s([&] { return ended(cupsd); }))
      return false;
  }
  forgetSubscriptions(forgotten);
  const ProcessResult start =
      systemd ? runProcess({"/usr/bin/systemctl", "start", "cups.socket", "cups.service"})
              : runProcess({"/usr/sbin/cupsd"});
  return start.exitStatus == 0 && within10s(schedulerRuns);
}

CupsQueue::CupsQueue(const std::string& suffix, const std::string& deviceURI,
                     const std::filesystem::path& ppd)
    : name_("JobControlTest_" + std::to_string(getpid()) + suffix) {
  const ProcessResult add = runProcess({"/usr/sbin/lpadmin", "-p", name_, "-E", "-v", deviceURI,
                                        "-P", (ppd.empty() ? samplePpdPath() : ppd).string()});
  ok_ = add.exitStatus == 0 && runProcess({"/usr/sbin/cupsdisable", name_}).exitStatus == 0;
}

CupsQueue::~CupsQueue() {
  runProcess({"/usr/bin/cancel", "-a", name_});
  runProcess({"/usr/sbin/lpadmin", "-x", name_});
}

int CupsQueue::pendingJobs() const {
  cups_job_t* jobs = nullptr;
  const int count = cupsGetJobs(&jobs, name_.c_str(), 0, CUPS_WHICHJOBS_ACTIVE);
  cupsFreeJobs(count, jobs);
  return count < 0 ? 0 : count;
}

std::string jobAttribute(int jobId, const char* name) {
  ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
  const std::string uri = "ipp://localhost/jobs/" + std::to_string(jobId);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.c_str());
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
               cupsUser());
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "all");
  ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
  std::string value;
  if (response) {
    if (ipp_attribute_t* attr = ippFindAttribute(response, name, IPP_TAG_ZERO)) {
      char buffer[1024];
      ippAttributeString(attr, buffer, sizeof buffer);
      value = buffer;
    }
    ippDelete(response);
  }
  return value;
}

}  // namespace jc::test
