// `jobcontrol --printer Q queue [--hold-jobs on|off]`: whether the queue's
// jobs wait for Job Control, what serves them, and whether other users read
// a job's entries; and holding the queue's new jobs or not.
#pragma once

#include "hosts/cli/cli_options.h"

namespace jc::cli {

// Reports on standard output; answers the exit status. Throws HostError when
// CUPS does not answer.
int runQueueCommand(const Options& options);

}  // namespace jc::cli
