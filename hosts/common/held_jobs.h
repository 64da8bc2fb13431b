// The calling user's jobs that a queue holds for Job Control: held
// indefinitely on a queue whose jobs wait for it (queue_hold_setting.h), and
// without the panel's entries yet. Another user's job is never listed.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "hosts/common/host_error.h"

namespace jc {

struct HeldJob {
  int id = 0;
  std::string printer;       // the queue's name
  std::string title;         // job-name, as the application named the job
  std::string documentName;  // document-name-supplied, or empty
  int kiloOctets = 0;        // job-k-octets: the size in KiB, rounded up
  std::time_t created = 0;   // time-at-creation
};

// The prefix of the panel's entries among a job's attributes.
inline constexpr const char* kEntryPrefix = "korvel.print.PrintSettings.";

// The calling user's jobs that wait for Job Control, oldest first. Throws
// HostError when CUPS does not answer.
std::vector<HeldJob> jobsWaitingForJobControl();

// One job of the scheduler as the calling user finds it.
struct HeldJobLookup {
  enum class Kind {
    Held,     // the user's, held: `job` is set
    Gone,     // no such job, or it is done (printed, canceled, aborted)
    NotHeld,  // pending or printing: not held
    NotYours  // another user's job
  };
  Kind kind = Kind::Gone;
  std::optional<HeldJob> job = std::nullopt;
  bool carriesEntries = false;  // the job has some of the panel's entries already
};

// Looks the job up; throws HostError when CUPS does not answer.
HeldJobLookup lookUpHeldJob(int jobId);

// What the lookup says for a job that is not the user's held job, fit for
// the user.
Message heldJobProblem(int jobId, HeldJobLookup::Kind kind);

}  // namespace jc
