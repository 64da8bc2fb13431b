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

// Adds `options` to the job group of a Set-Job-Attributes request. The
// options a job-creation request sends as operation attributes (job-password
// and job-password-encryption) go there too: the scheduler keeps a new job's
// operation attributes with the job and hands them to the backend, but takes
// nothing but job attributes from Set-Job-Attributes.
void addJobAttributes(ipp_t* request, const PrintSettings& options) {
  cupsEncodeOptions2(request, options.count(), options.options(), IPP_TAG_JOB);
  IppMessage operation(ippNew());
  cupsEncodeOptions2(operation.get(), options.count(), options.options(), IPP_TAG_OPERATION);
  for (ipp_attribute_t* attribute = ippFirstAttribute(operation.get()); attribute;
       attribute = ippNextAttribute(operation.get())) {
    ipp_attribute_t* copy = ippCopyAttribute(request, attribute, 0);
    ippSetGroupTag(request, &copy, IPP_TAG_JOB);
  }
}

}  // namespace

void addEntriesToJob(int jobId, const PrintSettings& options) {
  IppMessage request = jobRequest(IPP_OP_SET_JOB_ATTRIBUTES, jobId);
  addJobAttributes(request.get(), options);
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
