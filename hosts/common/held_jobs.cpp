#include "hosts/common/held_jobs.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "hosts/common/queue_hold_setting.h"
#include "hosts/common/scheduler_request.h"

namespace jc {
namespace {

int integerValue(ipp_t* job, const char* name) {
  ipp_attribute_t* attribute = ippFindAttribute(job, name, IPP_TAG_INTEGER);
  return attribute ? ippGetInteger(attribute, 0) : 0;
}

// The queue's name from job-printer-uri (".../printers/NAME").
std::string queueOf(ipp_t* job) {
  const std::string uri = stringValue(job, "job-printer-uri").value_or("");
  return uri.substr(uri.rfind('/') + 1);
}

HeldJob heldJobOf(ipp_t* job) {
  return {.id = integerValue(job, "job-id"),
          .printer = queueOf(job),
          .title = stringValue(job, "job-name").value_or(""),
          .documentName = stringValue(job, "document-name-supplied").value_or(""),
          .kiloOctets = integerValue(job, "job-k-octets"),
          .created = integerValue(job, "time-at-creation")};
}

bool carriesEntries(ipp_t* job) {
  for (ipp_attribute_t* a = ippFirstAttribute(job); a; a = ippNextAttribute(job))
    if (const char* name = ippGetName(a);
        name && std::strncmp(name, kEntryPrefix, std::strlen(kEntryPrefix)) == 0)
      return true;
  return false;
}

bool isCallersJob(ipp_t* job) {
  return stringValue(job, "job-originating-user-name") == std::string(cupsUser());
}

bool heldIndefinitely(ipp_t* job) {
  ipp_attribute_t* state = ippFindAttribute(job, "job-state", IPP_TAG_ENUM);
  return state && ippGetInteger(state, 0) == IPP_JSTATE_HELD &&
         stringValue(job, "job-hold-until") == "indefinite";
}

// The calling user's jobs not yet done, every attribute with each; one
// message per job, as the answer's groups.
std::vector<IppMessage> callersActiveJobs() {
  IppMessage request = schedulerRequest(IPP_OP_GET_JOBS);
  ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
               "ipp://localhost/");
  ippAddBoolean(request.get(), IPP_TAG_OPERATION, "my-jobs", 1);
  ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "which-jobs", nullptr,
               "not-completed");
  ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
               "all");
  const IppMessage answer = askScheduler(std::move(request));
  if (!answer || !lastRequestSucceeded())
    throw HostError(Message("CUPS does not list the jobs: {0}", {lastRequestFailure().text()}));
  std::vector<IppMessage> jobs;
  IppMessage job;
  for (ipp_attribute_t* a = ippFirstAttribute(answer.get()); a;
       a = ippNextAttribute(answer.get())) {
    if (ippGetGroupTag(a) != IPP_TAG_JOB) {
      if (job) jobs.push_back(std::move(job));
      continue;
    }
    if (!job) job.reset(ippNew());
    ippCopyAttribute(job.get(), a, 0);
  }
  if (job) jobs.push_back(std::move(job));
  return jobs;
}

}  // namespace

std::vector<HeldJob> jobsWaitingForJobControl() {
  std::map<std::string, bool> queueHolds;
  std::vector<HeldJob> waiting;
  for (const IppMessage& job : callersActiveJobs()) {
    if (!isCallersJob(job.get()) || !heldIndefinitely(job.get()) || carriesEntries(job.get()))
      continue;
    HeldJob held = heldJobOf(job.get());
    auto known = queueHolds.find(held.printer);
    if (known == queueHolds.end())
      known = queueHolds.emplace(held.printer, queueHoldsJobs(held.printer)).first;
    if (known->second) waiting.push_back(std::move(held));
  }
  std::sort(waiting.begin(), waiting.end(),
            [](const HeldJob& a, const HeldJob& b) { return a.id < b.id; });
  return waiting;
}

HeldJobLookup lookUpHeldJob(int jobId) {
  IppMessage request = jobRequest(IPP_OP_GET_JOB_ATTRIBUTES, jobId);
  ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
               "all");
  const IppMessage answer = askScheduler(std::move(request));
  if (cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND) return {};
  if (!answer || !lastRequestSucceeded())
    throw HostError(Message("CUPS gives nothing of job {0}: {1}",
                            {std::to_string(jobId), lastRequestFailure().text()}));
  if (!isCallersJob(answer.get())) return {.kind = HeldJobLookup::Kind::NotYours};
  ipp_attribute_t* state = ippFindAttribute(answer.get(), "job-state", IPP_TAG_ENUM);
  const int stateValue = state ? ippGetInteger(state, 0) : IPP_JSTATE_COMPLETED;
  if (stateValue > IPP_JSTATE_STOPPED) return {};
  if (stateValue != IPP_JSTATE_HELD) return {.kind = HeldJobLookup::Kind::NotHeld};
  return {.kind = HeldJobLookup::Kind::Held,
          .job = heldJobOf(answer.get()),
          .carriesEntries = carriesEntries(answer.get())};
}

Message heldJobProblem(int jobId, HeldJobLookup::Kind kind) {
  const std::string id = std::to_string(jobId);
  switch (kind) {
    case HeldJobLookup::Kind::Gone:
      return Message("there is no job {0} waiting: CUPS has no such job, or it is done", {id});
    case HeldJobLookup::Kind::NotHeld:
      return Message("job {0} is not held: it is already on its way to the printer", {id});
    case HeldJobLookup::Kind::NotYours:
      return Message("job {0} is not yours: only the user who printed it can release it", {id});
    case HeldJobLookup::Kind::Held:
      break;
  }
  return Message("job {0} is held", {id});
}

}  // namespace jc
