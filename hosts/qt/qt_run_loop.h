// While the panel waits for the printer, Qt's event loop keeps turning in a
// nested QEventLoop: libcurl's sockets are QSocketNotifiers, its time-outs a
// QTimer, and the window repaints and its timers run at their own rate.
// Input meant for the application is dropped until the answer is in, as in a
// modal wait, so that no second request starts inside the first.
#pragma once

#include <QEventLoop>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <map>

#include "soap/run_loop.h"

namespace jc::qt {

class QtRunLoop final : public QObject, public RunLoop {
 public:
  QtRunLoop();
  ~QtRunLoop() override;

  void watchSocket(int socket, unsigned events, SocketHandler handler) override;
  void unwatchSocket(int socket) override;
  void startTimer(std::chrono::milliseconds delay, TimerHandler handler) override;
  void stopTimer() override;
  void run() override;
  void quit() override;

  // How many socket and timer events the loop has handed on.
  int turns() const { return turns_; }
  bool running() const { return current_ != nullptr; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Notifiers are children of the loop, dropped with deleteLater: one may be
  // in the middle of telling its own activation.
  struct Watch {
    QSocketNotifier* read = nullptr;
    QSocketNotifier* write = nullptr;
    SocketHandler handler;
  };

  QSocketNotifier* notifier(int socket, QSocketNotifier::Type type, unsigned event);
  void onSocket(int socket, unsigned ready);

  std::map<int, Watch> watches_;
  QTimer timer_;
  TimerHandler timerHandler_;
  QEventLoop* current_ = nullptr;
  int turns_ = 0;
};

}  // namespace jc::qt
