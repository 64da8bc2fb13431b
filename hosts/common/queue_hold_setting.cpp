#include "hosts/common/queue_hold_setting.h"

#include "hosts/common/scheduler_request.h"

namespace jc {

bool queueHoldsJobs(const std::string& queue) {
  IppMessage request = queueRequest(IPP_OP_GET_PRINTER_ATTRIBUTES, queue);
  ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
               "job-hold-until-default");
  const IppMessage answer = askScheduler(std::move(request));
  if (!answer || !lastRequestSucceeded())
    throw HostError(Message("CUPS gives no hold setting for \"{0}\": {1}",
                            {queue, lastRequestFailure().text()}));
  return stringValue(answer.get(), "job-hold-until-default") == "indefinite";
}

void setQueueHoldsJobs(const std::string& queue, bool hold) {
  IppMessage request = queueRequest(IPP_OP_CUPS_ADD_MODIFY_PRINTER, queue);
  ippAddString(request.get(), IPP_TAG_PRINTER, IPP_TAG_KEYWORD, "job-hold-until-default", nullptr,
               hold ? "indefinite" : "no-hold");
  const IppMessage answer = askScheduler(std::move(request), "/admin/");
  if (lastRequestSucceeded()) return;
  if (lastRequestForbidden())
    throw QueueSettingRefused(
        Message("CUPS refused to change the queue \"{0}\": changing a queue takes a print "
                "administrator (root or a member of CUPS's SystemGroup, e.g. lpadmin): {1}",
                {queue, lastRequestFailure().text()}));
  throw HostError(
      Message("CUPS did not change the queue \"{0}\": {1}", {queue, lastRequestFailure().text()}));
}

}  // namespace jc
