// A held job goes on with the panel's entries: they are added to the job
// (Set-Job-Attributes) and the job is released (Release-Job). The scheduler
// then hands them to the queue's filter in its options argument.
#pragma once

#include "hosts/common/host_error.h"
#include "plugin/host.h"
#include "plugin/print_dialog_extension.h"

namespace jc {

// The entries did not go onto the job, or the job was not released; the
// message says which and why. `refused` when CUPS refused it for the user's
// rights (another user's job).
class HeldJobReleaseError : public HostError {
 public:
  HeldJobReleaseError(Message message, bool refused)
      : HostError(std::move(message)), refused_(refused) {}
  bool refused() const { return refused_; }

 private:
  bool refused_;
};

// Adds `entries` (the job's CUPS options as the panel saved them) and the
// plan's standard job attributes to the held job `jobId`, then releases it.
// Where adding fails the job is not released and stays as it was. Throws
// HeldJobReleaseError.
void releaseWithEntries(int jobId, const PrintSettings& entries, const StandardAttributePlan& plan);

// The two steps apart, for a host that shows them.
void addEntriesToJob(int jobId, const PrintSettings& options);
void releaseJob(int jobId);

}  // namespace jc
