#include "hosts/qt/window_fit.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace jc::qt {
namespace {

// The start of a span of `length` inside [low, high) that moves `start` least;
// `low` when it cannot fit.
int placed(int start, int length, int low, int high) {
  return std::max(low, std::min(start, high - length));
}

}  // namespace

QRect fittedGeometry(const QRect& current, const QSize& wanted, const QSize& minimum,
                     const QMargins& frame, const QRect& available) {
  const QRect room = available.marginsRemoved(frame);
  const QSize size = wanted.boundedTo(room.size()).expandedTo(minimum);
  const int x = placed(current.x(), size.width(), room.left(), room.left() + room.width());
  const int y = placed(current.y(), size.height(), room.top(), room.top() + room.height());
  return QRect(QPoint(x, y), size);
}

void fitToScreen(QWidget& window) {
  const QScreen* screen = window.screen();
  if (!screen) return;
  const QRect client = window.geometry();
  const QRect outer = window.frameGeometry();
  const QMargins frame(client.left() - outer.left(), client.top() - outer.top(),
                       outer.right() - client.right(), outer.bottom() - client.bottom());
  const QSize wanted = window.size().expandedTo(window.sizeHint());
  const QSize minimum = window.minimumSizeHint().expandedTo(window.minimumSize());
  const QRect fitted = fittedGeometry(client, wanted, minimum, frame, screen->availableGeometry());
  if (fitted != client) window.setGeometry(fitted);
}

}  // namespace jc::qt
