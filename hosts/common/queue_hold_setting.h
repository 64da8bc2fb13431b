// Whether a queue's jobs wait for Job Control: the queue holds every new job
// (job-hold-until-default=indefinite) until its owner adds the panel's
// entries and releases it.
#pragma once

#include <string>

#include "hosts/common/host_error.h"

namespace jc {

// CUPS refused to change the queue: the user is no administrator of it.
class QueueSettingRefused : public HostError {
 public:
  using HostError::HostError;
};

// Whether the queue's jobs wait for Job Control. Throws HostError when CUPS
// does not answer for the queue.
bool queueHoldsJobs(const std::string& queue);

// Sets (true) or clears (false) job-hold-until-default=indefinite on the
// queue, as `lpadmin -p QUEUE -o job-hold-until-default=...` does. Throws
// QueueSettingRefused without the rights, HostError for any other failure.
void setQueueHoldsJobs(const std::string& queue, bool hold);

}  // namespace jc
