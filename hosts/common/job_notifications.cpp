#include "hosts/common/job_notifications.h"

#include <cups/cups.h>

#include <memory>

namespace jc {
namespace {

constexpr int kConnectMillis = 3000;
constexpr const char* kServerUri = "ipp://localhost/";

struct HttpClose {
  void operator()(http_t* http) const { httpClose(http); }
};
struct IppDelete {
  void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};

// One request to the scheduler on a connection of its own, bounded in time:
// the answer's status, or none when the scheduler did not answer.
std::optional<ipp_status_t> ask(ipp_t* request, std::optional<int>* subscriptionId = nullptr) {
  std::unique_ptr<http_t, HttpClose> http(httpConnect2(
      cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, kConnectMillis, nullptr));
  if (!http) {
    ippDelete(request);
    return std::nullopt;
  }
  httpSetTimeout(http.get(), kConnectMillis / 1000.0, nullptr, nullptr);
  std::unique_ptr<ipp_t, IppDelete> answer(cupsDoRequest(http.get(), request, "/"));
  if (!answer) {
    const ipp_status_t status = cupsLastError();
    if (status == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE || status == IPP_STATUS_ERROR_INTERNAL)
      return std::nullopt;
    return status;
  }
  if (subscriptionId)
    if (ipp_attribute_t* id =
            ippFindAttribute(answer.get(), "notify-subscription-id", IPP_TAG_INTEGER))
      *subscriptionId = ippGetInteger(id, 0);
  return ippGetStatusCode(answer.get());
}

ipp_t* requestFor(ipp_op_t operation) {
  ipp_t* request = ippNewRequest(operation);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, kServerUri);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
               cupsUser());
  return request;
}

SubscriptionState stateOf(const std::optional<ipp_status_t>& status) {
  if (!status) return SubscriptionState::Unreachable;
  if (*status <= IPP_STATUS_OK_EVENTS_COMPLETE) return SubscriptionState::Active;
  // Not found, and anything else the scheduler refuses about an old
  // subscription: a new one is what helps.
  return SubscriptionState::Gone;
}

}  // namespace

std::optional<JobEvent::Kind> jobEventKindOf(const std::string& member) {
  if (member == "JobCreated") return JobEvent::Kind::Created;
  if (member == "JobState") return JobEvent::Kind::StateChanged;
  if (member == "JobCompleted") return JobEvent::Kind::Completed;
  return std::nullopt;
}

bool jobStillHeld(int jobState) { return jobState == IPP_JSTATE_HELD; }

JobSubscription::JobSubscription(std::chrono::seconds lease) : lease_(lease) {}

JobSubscription::~JobSubscription() {
  if (!id_) return;
  ipp_t* request = requestFor(IPP_OP_CANCEL_SUBSCRIPTION);
  ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "notify-subscription-id", *id_);
  ask(request);
}

SubscriptionState JobSubscription::subscribe() {
  id_.reset();
  ipp_t* request = requestFor(IPP_OP_CREATE_PRINTER_SUBSCRIPTIONS);
  ippAddString(request, IPP_TAG_SUBSCRIPTION, IPP_TAG_URI, "notify-recipient-uri", nullptr,
               "dbus://");
  static const char* const events[] = {"job-created", "job-state-changed", "job-completed"};
  ippAddStrings(request, IPP_TAG_SUBSCRIPTION, IPP_TAG_KEYWORD, "notify-events", 3, nullptr,
                events);
  ippAddInteger(request, IPP_TAG_SUBSCRIPTION, IPP_TAG_INTEGER, "notify-lease-duration",
                static_cast<int>(lease_.count()));
  std::optional<int> id;
  const SubscriptionState state = stateOf(ask(request, &id));
  if (state != SubscriptionState::Active || !id)
    return state == SubscriptionState::Active ? SubscriptionState::Gone : state;
  id_ = id;
  return state;
}

SubscriptionState JobSubscription::renew() {
  if (!id_) return SubscriptionState::Gone;
  ipp_t* request = requestFor(IPP_OP_RENEW_SUBSCRIPTION);
  ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "notify-subscription-id", *id_);
  ippAddInteger(request, IPP_TAG_SUBSCRIPTION, IPP_TAG_INTEGER, "notify-lease-duration",
                static_cast<int>(lease_.count()));
  const SubscriptionState state = stateOf(ask(request));
  if (state != SubscriptionState::Active) id_.reset();
  return state;
}

SubscriptionState JobSubscription::check() {
  const SubscriptionState state = renew();
  return state == SubscriptionState::Active ? state : subscribe();
}

}  // namespace jc
