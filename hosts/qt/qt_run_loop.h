// While the panel waits for the printer, Qt's event loop keeps turning: the
// window repaints and timers run. The user's input waits until the answer
// is in, so that no second request starts inside the first.
#pragma once

#include "soap/run_loop.h"

namespace jc::qt {

class QtRunLoop final : public RunLoop {
 public:
  void processEvents() override;
  int turns() const { return turns_; }

 private:
  int turns_ = 0;
};

}  // namespace jc::qt
