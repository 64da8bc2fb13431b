// The host's event loop, kept turning while the panel waits for the printer.
// The SOAP client drives libcurl from it: the loop tells when one of
// libcurl's sockets is ready or its timer is due, and runs nested until the
// exchange ends.
#pragma once

#include <chrono>
#include <functional>

namespace jc {

class RunLoop {
 public:
  enum SocketEvent : unsigned { kReadable = 1u, kWritable = 2u };
  // Told the socket and which of kReadable | kWritable it is ready for.
  using SocketHandler = std::function<void(int socket, unsigned ready)>;
  using TimerHandler = std::function<void()>;

  virtual ~RunLoop() = default;

  // Calls `handler` each time `socket` is ready for one of `events`; a later
  // watch of the same socket replaces this one.
  virtual void watchSocket(int socket, unsigned events, SocketHandler handler) = 0;
  virtual void unwatchSocket(int socket) = 0;
  // Calls `handler` once, `delay` from now; replaces a timer still pending.
  virtual void startTimer(std::chrono::milliseconds delay, TimerHandler handler) = 0;
  virtual void stopTimer() = 0;
  // Serves the host's events and the watches above until quit() is called
  // from one of them. Handlers may watch, unwatch, start or stop the timer.
  virtual void run() = 0;
  virtual void quit() = 0;
};

}  // namespace jc
