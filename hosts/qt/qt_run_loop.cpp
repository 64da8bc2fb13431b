#include "hosts/qt/qt_run_loop.h"

#include <QCoreApplication>
#include <QEvent>
#include <utility>

namespace jc::qt {

namespace {

void setOn(QSocketNotifier* notifier, bool on) {
  if (notifier && notifier->isEnabled() != on) notifier->setEnabled(on);
}

void drop(QSocketNotifier*& notifier) {
  if (!notifier) return;
  notifier->setEnabled(false);
  notifier->deleteLater();
  notifier = nullptr;
}

// The user's input, held off the panel while it waits.
bool isUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::Close:
      return true;
    default:
      return false;
  }
}

}  // namespace

QtRunLoop::QtRunLoop() {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, this, [this] {
    ++turns_;
    TimerHandler handler = std::exchange(timerHandler_, nullptr);
    if (handler) handler();
  });
}

QtRunLoop::~QtRunLoop() {
  for (auto& [socket, watch] : watches_) {
    drop(watch.read);
    drop(watch.write);
  }
}

QSocketNotifier* QtRunLoop::notifier(int socket, QSocketNotifier::Type type, unsigned event) {
  auto* made = new QSocketNotifier(socket, type, this);
  QObject::connect(made, &QSocketNotifier::activated, this,
                   [this, socket, event] { onSocket(socket, event); });
  return made;
}

void QtRunLoop::watchSocket(int socket, unsigned events, SocketHandler handler) {
  Watch& watch = watches_[socket];
  watch.handler = std::move(handler);
  if ((events & kReadable) && !watch.read)
    watch.read = notifier(socket, QSocketNotifier::Read, kReadable);
  if ((events & kWritable) && !watch.write)
    watch.write = notifier(socket, QSocketNotifier::Write, kWritable);
  setOn(watch.read, events & kReadable);
  setOn(watch.write, events & kWritable);
}

void QtRunLoop::unwatchSocket(int socket) {
  auto found = watches_.find(socket);
  if (found == watches_.end()) return;
  drop(found->second.read);
  drop(found->second.write);
  watches_.erase(found);
}

void QtRunLoop::onSocket(int socket, unsigned ready) {
  auto found = watches_.find(socket);
  if (found == watches_.end()) return;
  ++turns_;
  const SocketHandler handler = found->second.handler;  // it may unwatch the socket
  handler(socket, ready);
}

void QtRunLoop::startTimer(std::chrono::milliseconds delay, TimerHandler handler) {
  timerHandler_ = std::move(handler);
  timer_.start(delay);
}

void QtRunLoop::stopTimer() {
  timer_.stop();
  timerHandler_ = nullptr;
}

void QtRunLoop::run() {
  QEventLoop loop;
  QEventLoop* outer = std::exchange(current_, &loop);
  QCoreApplication::instance()->installEventFilter(this);
  loop.exec();
  QCoreApplication::instance()->removeEventFilter(this);
  current_ = outer;
  if (current_) QCoreApplication::instance()->installEventFilter(this);
}

void QtRunLoop::quit() {
  if (current_) current_->quit();
}

bool QtRunLoop::eventFilter(QObject* watched, QEvent* event) {
  if (current_ && watched->isWidgetType() && isUserInput(event->type())) {
    event->ignore();
    return true;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace jc::qt
