#include "soap/curl_socket_driver.h"

#include <algorithm>

namespace jc {

CurlSocketDriver::CurlSocketDriver(CURLM* multi, RunLoop& loop, Clock::time_point deadline)
    : multi_(multi), loop_(loop), deadline_(deadline) {
  curl_multi_setopt(multi_, CURLMOPT_SOCKETFUNCTION, &CurlSocketDriver::onSocket);
  curl_multi_setopt(multi_, CURLMOPT_SOCKETDATA, static_cast<void*>(this));
  curl_multi_setopt(multi_, CURLMOPT_TIMERFUNCTION, &CurlSocketDriver::onTimer);
  curl_multi_setopt(multi_, CURLMOPT_TIMERDATA, static_cast<void*>(this));
}

// libcurl may still close cached connections later; it is not told about
// them any more, and the loop forgets every socket it was asked to watch.
CurlSocketDriver::~CurlSocketDriver() {
  curl_multi_setopt(multi_, CURLMOPT_SOCKETFUNCTION, nullptr);
  curl_multi_setopt(multi_, CURLMOPT_TIMERFUNCTION, nullptr);
  for (curl_socket_t socket : watched_) loop_.unwatchSocket(socket);
  loop_.stopTimer();
}

int CurlSocketDriver::onSocket(CURL*, curl_socket_t socket, int what, void* self, void*) {
  static_cast<CurlSocketDriver*>(self)->watch(socket, what);
  return 0;
}

int CurlSocketDriver::onTimer(CURLM*, long timeoutMs, void* self) {
  auto* driver = static_cast<CurlSocketDriver*>(self);
  driver->curlDue_.reset();
  if (timeoutMs >= 0) driver->curlDue_ = Clock::now() + std::chrono::milliseconds(timeoutMs);
  driver->armTimer();
  return 0;
}

void CurlSocketDriver::watch(curl_socket_t socket, int what) {
  if (what == CURL_POLL_REMOVE) {
    watched_.erase(socket);
    loop_.unwatchSocket(socket);
    return;
  }
  unsigned events = 0;
  if (what == CURL_POLL_IN || what == CURL_POLL_INOUT) events |= RunLoop::kReadable;
  if (what == CURL_POLL_OUT || what == CURL_POLL_INOUT) events |= RunLoop::kWritable;
  watched_.insert(socket);
  loop_.watchSocket(socket, events, [this](int ready, unsigned readiness) {
    int flags = 0;
    if (readiness & RunLoop::kReadable) flags |= CURL_CSELECT_IN;
    if (readiness & RunLoop::kWritable) flags |= CURL_CSELECT_OUT;
    act(ready, flags);
  });
}

// One timer serves both libcurl's time-outs and the exchange's deadline.
void CurlSocketDriver::armTimer() {
  if (end_) return;
  const Clock::time_point due = curlDue_ ? std::min(*curlDue_, deadline_) : deadline_;
  const auto delay = std::chrono::ceil<std::chrono::milliseconds>(
      std::max(Clock::duration::zero(), due - Clock::now()));
  loop_.startTimer(delay, [this] { onTimerDue(); });
}

void CurlSocketDriver::onTimerDue() {
  if (end_) return;
  if (Clock::now() >= deadline_) return finish(End::TimedOut);
  if (curlDue_ && Clock::now() >= *curlDue_) {
    curlDue_.reset();
    act(CURL_SOCKET_TIMEOUT, 0);
  }
  armTimer();
}

void CurlSocketDriver::act(curl_socket_t socket, int flags) {
  if (end_) return;
  int running = 0;
  if (curl_multi_socket_action(multi_, socket, flags, &running) != CURLM_OK) {
    return finish(End::Broken);
  }
  int queued = 0;
  while (CURLMsg* message = curl_multi_info_read(multi_, &queued)) {
    if (message->msg != CURLMSG_DONE || message->easy_handle != easy_) continue;
    result_ = message->data.result;
    return finish(End::Done);
  }
  if (running == 0) finish(End::Broken);
}

void CurlSocketDriver::finish(End end) {
  end_ = end;
  loop_.stopTimer();
  loop_.quit();
}

CurlSocketDriver::End CurlSocketDriver::run(CURL* easy) {
  easy_ = easy;
  if (curl_multi_add_handle(multi_, easy) != CURLM_OK) return End::NotStarted;
  // Adding the handle asked for a time-out of zero: the first turn starts
  // the transfer.
  armTimer();
  loop_.run();
  return end_.value_or(End::Broken);
}

}  // namespace jc
