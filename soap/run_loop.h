// The host's event loop, kept turning while the panel waits for the printer.
#pragma once

namespace jc {

class RunLoop {
 public:
  virtual ~RunLoop() = default;
  // Serves the host's pending events and returns promptly. Called at least
  // once a second while a request is in flight.
  virtual void processEvents() = 0;
};

// A loop with no events of its own.
class IdleRunLoop final : public RunLoop {
 public:
  void processEvents() override {}
};

}  // namespace jc
