// A real CUPS queue for the tests: whether a scheduler runs (and its
// restart), a queue of the
// sample printer that keeps its jobs, and a job's attributes as the
// scheduler keeps them.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace jc::test {

bool schedulerRuns();

// Stops the scheduler and starts it again, as a package upgrade or an
// administrator does, with the event subscriptions `forgotten` gone (as when
// their leases ran out while it was down; it keeps the others across the
// restart); false where it cannot (not root, or it did not come back within
// ten seconds).
bool restartScheduler(const std::vector<int>& forgotten = {});

// A queue of the sample printer (or of the PPD `ppd`) that accepts jobs but
// never sends them; removed with its jobs at the end.
class CupsQueue {
 public:
  explicit CupsQueue(const std::string& suffix = "",
                     const std::string& deviceURI = "socket://127.0.0.1:9",
                     const std::filesystem::path& ppd = {});
  ~CupsQueue();
  CupsQueue(const CupsQueue&) = delete;
  CupsQueue& operator=(const CupsQueue&) = delete;
  bool ok() const { return ok_; }
  const std::string& name() const { return name_; }
  // The jobs of the queue not yet done.
  int pendingJobs() const;

 private:
  std::string name_;
  bool ok_ = false;
};

// The job's attribute `name` as text, or empty.
std::string jobAttribute(int jobId, const char* name);

}  // namespace jc::test
