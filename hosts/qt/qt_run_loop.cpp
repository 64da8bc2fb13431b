#include "hosts/qt/qt_run_loop.h"

#include <QCoreApplication>

namespace jc::qt {

void QtRunLoop::processEvents() {
  ++turns_;
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 100);
}

}  // namespace jc::qt
