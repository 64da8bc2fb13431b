// A printer of the CUPS server: its device URI and its PPD.
#pragma once

#include <string>

#include "hosts/cli/cli_host.h"

namespace jc::cli {

// Looks the destination up; throws UsageError when CUPS does not know it or
// gives no PPD for it. The PPD is a temporary copy that `TemporaryPpd` removes.
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

// Sends `file` to the destination with the job's entries; answers the job id,
// or throws std::runtime_error with CUPS's reason.
int sendJob(const std::string& destination, const std::string& file, const std::string& title,
            const PrintSettings& settings);

}  // namespace jc::cli
