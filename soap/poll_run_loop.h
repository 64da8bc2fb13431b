// A run loop of its own for hosts without one: poll(2) on the watched
// sockets, sleeping until one is ready or the timer is due. Defined here in
// full, so that a host has it without linking the panel's code.
#pragma once

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "soap/run_loop.h"

namespace jc {

class PollRunLoop : public RunLoop {
 public:
  using Clock = std::chrono::steady_clock;

  // A `tick` above zero also wakes the loop that often, for a host that
  // animates something while it waits; zero wakes it only for its watches.
  explicit PollRunLoop(std::chrono::milliseconds tick = std::chrono::milliseconds(0))
      : tick_(tick) {}

  void watchSocket(int socket, unsigned events, SocketHandler handler) override;
  void unwatchSocket(int socket) override;
  void startTimer(std::chrono::milliseconds delay, TimerHandler handler) override;
  void stopTimer() override;
  void run() override;
  void quit() override { quit_ = true; }

 protected:
  // Called after every wake-up while the loop runs.
  virtual void onWake() {}

 private:
  struct Watch {
    unsigned events;
    SocketHandler handler;
  };
  struct Timer {
    Clock::time_point due;
    TimerHandler handler;
  };

  int waitMilliseconds(Clock::time_point now) const;
  void serveSockets(int timeoutMs);
  void serveTimer();

  std::chrono::milliseconds tick_;
  std::map<int, Watch> watches_;
  std::optional<Timer> timer_;
  bool quit_ = false;
};

// The loop of a panel whose host has none.
class IdleRunLoop final : public PollRunLoop {};

inline void PollRunLoop::watchSocket(int socket, unsigned events, SocketHandler handler) {
  watches_[socket] = Watch{events, std::move(handler)};
}

inline void PollRunLoop::unwatchSocket(int socket) { watches_.erase(socket); }

inline void PollRunLoop::startTimer(std::chrono::milliseconds delay, TimerHandler handler) {
  timer_ = Timer{Clock::now() + delay, std::move(handler)};
}

inline void PollRunLoop::stopTimer() { timer_.reset(); }

// Until the timer is due or the next tick; -1 (for ever) when neither is set.
inline int PollRunLoop::waitMilliseconds(Clock::time_point now) const {
  std::optional<Clock::duration> wait;
  if (timer_) wait = std::max(Clock::duration::zero(), timer_->due - now);
  if (tick_.count() > 0) wait = wait ? std::min<Clock::duration>(*wait, tick_) : tick_;
  if (!wait) return -1;
  return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(*wait).count());
}

inline void PollRunLoop::serveSockets(int timeoutMs) {
  std::vector<pollfd> fds;
  fds.reserve(watches_.size());
  for (const auto& [socket, watch] : watches_) {
    short events = 0;
    if (watch.events & kReadable) events |= POLLIN;
    if (watch.events & kWritable) events |= POLLOUT;
    fds.push_back(pollfd{socket, events, 0});
  }
  if (::poll(fds.data(), fds.size(), timeoutMs) <= 0) return;  // time-out, or EINTR
  for (const pollfd& fd : fds) {
    if (quit_) return;
    unsigned ready = 0;
    if (fd.revents & (POLLIN | POLLHUP | POLLERR)) ready |= kReadable;
    if (fd.revents & (POLLOUT | POLLERR)) ready |= kWritable;
    auto watch = watches_.find(fd.fd);
    if (!ready || watch == watches_.end()) continue;  // unwatched by an earlier handler
    const SocketHandler handler = watch->second.handler;
    handler(fd.fd, ready);
  }
}

inline void PollRunLoop::serveTimer() {
  if (quit_ || !timer_ || Clock::now() < timer_->due) return;
  const TimerHandler handler = std::move(timer_->handler);
  timer_.reset();
  handler();
}

inline void PollRunLoop::run() {
  quit_ = false;
  while (!quit_) {
    serveSockets(waitMilliseconds(Clock::now()));
    serveTimer();
    onWake();
  }
  quit_ = false;
}

}  // namespace jc
