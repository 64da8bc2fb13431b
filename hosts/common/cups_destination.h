// A printer of the CUPS server: its device URI and its PPD; and sending a job
// to it with the panel's entries.
#pragma once

#include <string>
#include <vector>

#include "hosts/common/host_error.h"
#include "hosts/common/printer_info.h"
#include "plugin/host.h"

namespace jc {

// CUPS does not know the destination or gives no PPD for it.
class DestinationError : public HostError {
 public:
  using HostError::HostError;
};

// Looks the destination up; throws DestinationError. The PPD is a temporary
// copy that the destructor removes.
class CupsDestination {
 public:
  explicit CupsDestination(const std::string& name);
  ~CupsDestination();
  CupsDestination(const CupsDestination&) = delete;
  CupsDestination& operator=(const CupsDestination&) = delete;
  const PrinterInfo& printer() const { return printer_; }

 private:
  PrinterInfo printer_;
  bool temporaryPpd_ = false;
};

// The job attribute that holds a job on its queue.
inline constexpr const char* kJobHoldUntil = "job-hold-until";

// A job our own programs send already carries the panel's entries: it is not
// held for Job Control again (job-hold-until=no-hold), unless the options
// name a hold the user chose (Qt's job page).
PrintSettings notHeldAgain(const PrintSettings& options);

// Sends `files` as one job to the destination with the job's entries, not
// held again; answers the job id, or throws HostError with CUPS's reason.
int sendJob(const std::string& destination, const std::vector<std::string>& files,
            const std::string& title, const PrintSettings& settings);
inline int sendJob(const std::string& destination, const std::string& file,
                   const std::string& title, const PrintSettings& settings) {
  return sendJob(destination, std::vector<std::string>{file}, title, settings);
}

}  // namespace jc
