// Runs one libcurl transfer on the host's run loop through libcurl's socket
// interface: the loop watches the sockets libcurl names and keeps its timer
// at the earlier of libcurl's next time-out and the exchange's deadline.
#pragma once

#include <chrono>
#include <optional>
#include <set>

#include "soap/curl_handles.h"
#include "soap/run_loop.h"

namespace jc {

class CurlSocketDriver {
 public:
  using Clock = std::chrono::steady_clock;
  enum class End { NotStarted, Done, TimedOut, Broken };

  // Takes over `multi`'s socket and timer callbacks; it must outlive neither
  // the driver nor `loop`.
  CurlSocketDriver(CURLM* multi, RunLoop& loop, Clock::time_point deadline);
  ~CurlSocketDriver();
  CurlSocketDriver(const CurlSocketDriver&) = delete;
  CurlSocketDriver& operator=(const CurlSocketDriver&) = delete;

  // Turns the run loop until the transfer of `easy` is done or the deadline
  // has passed. With Done, result() holds libcurl's result of it; NotStarted
  // when libcurl would not take the transfer.
  End run(CURL* easy);
  std::optional<CURLcode> result() const { return result_; }

 private:
  static int onSocket(CURL*, curl_socket_t socket, int what, void* self, void*);
  static int onTimer(CURLM*, long timeoutMs, void* self);
  void watch(curl_socket_t socket, int what);
  void armTimer();
  void onTimerDue();
  void act(curl_socket_t socket, int flags);
  void finish(End end);

  CURLM* multi_;
  RunLoop& loop_;
  Clock::time_point deadline_;
  std::optional<Clock::time_point> curlDue_;
  std::set<curl_socket_t> watched_;
  CURL* easy_ = nullptr;
  std::optional<End> end_;
  std::optional<CURLcode> result_;
};

}  // namespace jc
