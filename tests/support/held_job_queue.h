// A queue of the sample printer whose filter records its options argument
// (argv[5]) per job, for text and PDF documents alike; and local users to
// print and release as.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "support/cups_queue.h"
#include "support/process_runner.h"

namespace jc::test {

// A local user of the machine, added (without a home) where absent; empty
// where users cannot be added (not root).
std::optional<std::string> localUser(const std::string& name);

// Runs `args` as `user`, with `environment` set for it.
ProcessResult runAs(const std::string& user, const std::vector<std::string>& args,
                    const std::vector<std::string>& environment = {});

class RecordingQueue {
 public:
  // The filter lives under `filterFolder`, which must be root's and not
  // writable by others all the way up (the scheduler refuses it otherwise).
  explicit RecordingQueue(const std::filesystem::path& filterFolder);
  ~RecordingQueue();
  RecordingQueue(const RecordingQueue&) = delete;
  RecordingQueue& operator=(const RecordingQueue&) = delete;
  bool ok() const { return ok_; }
  const std::string& name() const { return queue_.name(); }
  // The queue holds its jobs for Job Control, set as an administrator would.
  bool holdJobs() const;
  // A job from `lp` as `user` (the caller where empty), as any application's
  // job reaches the queue; its id, 0 where lp failed.
  int printWithLp(const std::filesystem::path& document, const std::string& title,
                  const std::string& user = "") const;
  // The newest job of the queue, anyone's; 0 for none.
  int newestJob() const;
  // The filter's argv[5] for the job, as far as the filter has run.
  std::optional<std::string> received(int jobId) const;
  // The same, waiting up to 30 s for it; none if the filter did not run.
  std::optional<std::string> optionsOf(int jobId) const;

 private:
  std::filesystem::path folder_;
  std::filesystem::path records_;
  CupsQueue queue_;
  bool ok_ = false;
};

// "name=value name=value ..." as the filter receives it, the panel's entries
// only.
std::map<std::string, std::string> entriesOf(const std::string& options);

}  // namespace jc::test
