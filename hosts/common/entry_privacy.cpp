#include "hosts/common/entry_privacy.h"

#include <algorithm>
#include <cstring>

#include "hosts/common/held_jobs.h"
#include "hosts/common/scheduler_request.h"

namespace jc {
namespace {

bool isEntry(const std::string& name) { return name.starts_with(kEntryPrefix); }

// The newest of the calling user's jobs on the queue, done ones among them,
// that carries the entries; 0 for none.
int latestJobWithEntries(const std::string& queue) {
  IppMessage request = queueRequest(IPP_OP_GET_JOBS, queue);
  ippAddBoolean(request.get(), IPP_TAG_OPERATION, "my-jobs", 1);
  ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "which-jobs", nullptr, "all");
  ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
               "all");
  const IppMessage answer = askScheduler(std::move(request));
  int latest = 0, current = 0;
  for (ipp_attribute_t* a = ippFirstAttribute(answer.get()); a;
       a = ippNextAttribute(answer.get())) {
    const char* name = ippGetName(a);
    if (!name) continue;
    if (std::strcmp(name, "job-id") == 0) current = ippGetInteger(a, 0);
    if (isEntry(name)) latest = std::max(latest, current);
  }
  return latest;
}

}  // namespace

std::optional<std::vector<std::string>> attributesShownTo(int jobId, const std::string& user) {
  http_t* http =
      httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 3000, nullptr);
  if (!http) return std::nullopt;
  IppMessage request(ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES));
  const std::string uri = "ipp://localhost/jobs/" + std::to_string(jobId);
  ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.c_str());
  ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
               user.c_str());
  ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
               "all");
  const IppMessage answer(cupsDoRequest(http, request.release(), "/"));
  httpClose(http);
  if (!answer || ippGetStatusCode(answer.get()) > IPP_STATUS_OK_CONFLICTING) return std::nullopt;
  std::vector<std::string> names;
  for (ipp_attribute_t* a = ippFirstAttribute(answer.get()); a; a = ippNextAttribute(answer.get()))
    if (ippGetGroupTag(a) == IPP_TAG_JOB && ippGetName(a)) names.emplace_back(ippGetName(a));
  return names;
}

std::optional<bool> entriesReadableByOthers(const std::string& queue) {
  const int job = latestJobWithEntries(queue);
  if (job == 0) return std::nullopt;
  const std::optional<std::vector<std::string>> shown = attributesShownTo(job, kAnotherUser);
  if (!shown) return std::nullopt;
  return std::any_of(shown->begin(), shown->end(), isEntry);
}

}  // namespace jc
