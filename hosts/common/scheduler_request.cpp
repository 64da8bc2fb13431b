#include "hosts/common/scheduler_request.h"

#include "hosts/common/scheduler_check.h"

namespace jc {

IppMessage schedulerRequest(ipp_op_t operation) {
  IppMessage request(ippNewRequest(operation));
  ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
               cupsUser());
  return request;
}

IppMessage jobRequest(ipp_op_t operation, int jobId) {
  IppMessage request(ippNewRequest(operation));
  const std::string uri = "ipp://localhost/jobs/" + std::to_string(jobId);
  ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.c_str());
  ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
               cupsUser());
  return request;
}

IppMessage queueRequest(ipp_op_t operation, const std::string& queue) {
  IppMessage request(ippNewRequest(operation));
  char uri[HTTP_MAX_URI];
  httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                   "/printers/%s", queue.c_str());
  ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
  ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
               cupsUser());
  return request;
}

IppMessage askScheduler(IppMessage request, const char* resource) {
  return IppMessage(cupsDoRequest(CUPS_HTTP_DEFAULT, request.release(), resource));
}

bool lastRequestSucceeded() { return cupsLastError() <= IPP_STATUS_OK_CONFLICTING; }

bool lastRequestForbidden() {
  const ipp_status_t status = cupsLastError();
  return status == IPP_STATUS_ERROR_FORBIDDEN || status == IPP_STATUS_ERROR_NOT_AUTHORIZED ||
         status == IPP_STATUS_ERROR_NOT_AUTHENTICATED ||
         status == IPP_STATUS_ERROR_CUPS_AUTHENTICATION_CANCELED;
}

Message lastRequestFailure() {
  if (cupsLastError() == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE && !schedulerAnswers())
    return schedulerNotRunning();
  return Message("{0}", {cupsLastErrorString()});
}

std::optional<std::string> stringValue(ipp_t* answer, const char* name) {
  ipp_attribute_t* attribute = answer ? ippFindAttribute(answer, name, IPP_TAG_ZERO) : nullptr;
  const char* value = attribute ? ippGetString(attribute, 0, nullptr) : nullptr;
  if (!value) return std::nullopt;
  return std::string(value);
}

}  // namespace jc
