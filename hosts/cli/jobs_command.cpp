#include "hosts/cli/jobs_command.h"

#include <iostream>

#include "hosts/cli/exit_status.h"
#include "hosts/cli/terminal_text.h"
#include "hosts/cli/translation.h"

namespace jc::cli {
namespace {

// `time` in `format`, as the clock on the wall here reads it or as UTC.
std::string timeText(std::time_t time, const char* format, bool utc) {
  std::tm parts{};
  if (utc)
    gmtime_r(&time, &parts);
  else
    localtime_r(&time, &parts);
  char text[32];
  std::strftime(text, sizeof text, format, &parts);
  return text;
}

std::string localTime(std::time_t time) { return timeText(time, "%Y-%m-%d %H:%M", false); }

}  // namespace

std::string utcTime(std::time_t time) { return timeText(time, "%Y-%m-%dT%H:%M:%SZ", true); }

nlohmann::ordered_json heldJobJson(const HeldJob& job) {
  return {{"jobId", job.id},
          {"printer", job.printer},
          {"title", job.title},
          {"documentName", job.documentName},
          {"kiloOctets", job.kiloOctets},
          {"created", utcTime(job.created)}};
}

void printHeldJobs(std::ostream& out, const std::vector<HeldJob>& jobs) {
  if (jobs.empty()) {
    out << tr("No job waits for Job Control.") << "\n";
    return;
  }
  for (const HeldJob& job : jobs) {
    out << job.id << "  " << escapeControls(job.printer) << "  " << escapeControls(job.title);
    if (!job.documentName.empty() && job.documentName != job.title)
      out << " (" << escapeControls(job.documentName) << ")";
    out << "  " << tr("{0} KiB", {std::to_string(job.kiloOctets)}) << "  " << localTime(job.created)
        << "\n";
  }
}

int runJobsCommand(bool json) {
  const std::vector<HeldJob> jobs = jobsWaitingForJobControl();
  if (json) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const HeldJob& job : jobs) list.push_back(heldJobJson(job));
    std::cout << nlohmann::ordered_json{{"jobs", list}}.dump(2) << "\n";
  } else {
    printHeldJobs(std::cout, jobs);
  }
  return kSucceeded;
}

}  // namespace jc::cli
