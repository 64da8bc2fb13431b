#include "hosts/common/held_job_release.h"

#include "hosts/common/scheduler_request.h"
#include "hosts/common/standard_attribute_mode.h"

namespace jc {
namespace {

// Why the last request failed, a refusal for the user's rights said as such.
std::string failureReason() {
  if (!lastRequestForbidden()) return lastRequestFailure().text();
  return Message("CUPS refused it: the job is not yours ({0})", {lastRequestFailure().text()})
      .text();
}

}  // namespace

void addEntriesToJob(int jobId, const PrintSettings& options) {
  IppMessage request = jobRequest(IPP_OP_SET_JOB_ATTRIBUTES, jobId);
  cupsEncodeOptions2(request.get(), options.count(), options.options(), IPP_TAG_JOB);
  askScheduler(std::move(request), "/jobs/");
  if (!lastRequestSucceeded())
    throw HeldJobReleaseError(
        Message("the entries were not added to job {0}, which stays held: {1}",
                {std::to_string(jobId), failureReason()}),
        lastRequestForbidden());
}

void releaseJob(int jobId) {
  askScheduler(jobRequest(IPP_OP_RELEASE_JOB, jobId), "/jobs/");
  if (!lastRequestSucceeded())
    throw HeldJobReleaseError(Message("job {0} carries the entries but was not released: {1}",
                                      {std::to_string(jobId), failureReason()}),
                              lastRequestForbidden());
}

void releaseWithEntries(int jobId, const PrintSettings& entries,
                        const StandardAttributePlan& plan) {
  addEntriesToJob(jobId, withStandardAttributes(entries, plan));
  releaseJob(jobId);
}

}  // namespace jc
