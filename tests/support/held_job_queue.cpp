#include "support/held_job_queue.h"

#include <cups/cups.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <sstream>
#include <thread>

#include "support/file_text.h"
#include "support/panel_fixture.h"

namespace jc::test {
namespace {

std::filesystem::path recordingPpd(const std::filesystem::path& folder) {
  const std::string ppd = readFile(samplePpdPath());
  std::string filter;
  for (const char* type : {"text/plain", "application/pdf"})
    filter += std::string("*cupsFilter2: \"") + type + " application/vnd.cups-raw 0 " +
              (folder / "record-options").string() + "\"\n";
  const auto at = ppd.find("*Manufacturer:");
  const std::filesystem::path file = folder / "recording.ppd";
  writeFile(file, ppd.substr(0, at) + filter + ppd.substr(at));
  return file;
}

void writeFilter(const std::filesystem::path& folder, const std::filesystem::path& records) {
  const std::filesystem::path filter = folder / "record-options";
  writeFile(filter, "#!/bin/sh\nprintf '%s' \"$5\" > '" + records.string() +
                        "/options.'\"$1\"\ncat > /dev/null\nexit 0\n");
  std::filesystem::permissions(filter, std::filesystem::perms(0755));
}

}  // namespace

std::optional<std::string> localUser(const std::string& name) {
  if (getpwnam(name.c_str())) return name;
  if (geteuid() != 0) return std::nullopt;
  runProcess(
      {"/usr/sbin/useradd", "--system", "--no-create-home", "--shell", "/usr/sbin/nologin", name});
  if (!getpwnam(name.c_str())) return std::nullopt;
  return name;
}

ProcessResult runAs(const std::string& user, const std::vector<std::string>& args,
                    const std::vector<std::string>& environment) {
  std::vector<std::string> command = {"/usr/sbin/runuser", "-u",       user,    "--",
                                      "/usr/bin/env",      "LC_ALL=C", "LANG=C"};
  command.insert(command.end(), environment.begin(), environment.end());
  command.insert(command.end(), args.begin(), args.end());
  return runProcess(command);
}

RecordingQueue::RecordingQueue(const std::filesystem::path& filterFolder)
    : folder_(filterFolder),
      records_("/tmp/jc-held-records-" + std::to_string(getpid())),
      queue_("_held", "socket://127.0.0.1:9",
             (std::filesystem::create_directories(folder_), writeFilter(folder_, records_),
              recordingPpd(folder_))) {
  std::filesystem::create_directories(records_);
  std::filesystem::permissions(records_, std::filesystem::perms(0777));
  ok_ = queue_.ok() &&
        runProcess({"/usr/sbin/lpadmin", "-p", name(), "-o", "printer-error-policy=abort-job"})
                .exitStatus == 0 &&
        runProcess({"/usr/sbin/cupsenable", name()}).exitStatus == 0;
}

RecordingQueue::~RecordingQueue() {
  std::error_code ec;
  std::filesystem::remove_all(records_, ec);
  std::filesystem::remove_all(folder_, ec);
}

bool RecordingQueue::holdJobs() const {
  return runProcess({"/usr/sbin/lpadmin", "-p", name(), "-o", "job-hold-until-default=indefinite"})
             .exitStatus == 0;
}

int RecordingQueue::printWithLp(const std::filesystem::path& document, const std::string& title,
                                const std::string& user) const {
  const std::vector<std::string> lp = {"/usr/bin/lp", "-d", name(), "-t", title, document.string()};
  const ProcessResult run = user.empty() ? runProcess(lp) : runAs(user, lp);
  // "request id is QUEUE-ID (1 file(s))"
  const auto dash = run.out.rfind('-', run.out.find(" ("));
  return run.exitStatus != 0 || dash == std::string::npos ? 0
                                                          : std::atoi(run.out.c_str() + dash + 1);
}

int RecordingQueue::newestJob() const {
  cups_job_t* jobs = nullptr;
  const int count = cupsGetJobs(&jobs, name().c_str(), 0, CUPS_WHICHJOBS_ALL);
  int newest = 0;
  for (int i = 0; i < count; ++i) newest = std::max(newest, jobs[i].id);
  cupsFreeJobs(count, jobs);
  return newest;
}

std::optional<std::string> RecordingQueue::received(int jobId) const {
  auto text = readFileIfAny(records_ / ("options." + std::to_string(jobId)));
  return text && !text->empty() ? text : std::nullopt;
}

std::optional<std::string> RecordingQueue::optionsOf(int jobId) const {
  for (int i = 0; i < 300; ++i) {
    if (auto text = received(jobId)) return text;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return std::nullopt;
}

std::map<std::string, std::string> entriesOf(const std::string& options) {
  std::map<std::string, std::string> entries;
  std::istringstream words(options);
  std::string word;
  while (words >> word) {
    const auto equals = word.find('=');
    if (word.starts_with("korvel.print.PrintSettings.") && equals != std::string::npos)
      entries[word.substr(0, equals)] = word.substr(equals + 1);
  }
  return entries;
}

}  // namespace jc::test
