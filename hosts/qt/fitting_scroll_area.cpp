#include "hosts/qt/fitting_scroll_area.h"

#include <QEvent>

namespace jc::qt {

FittingScrollArea::FittingScrollArea(QWidget* content) {
  setFrameShape(QFrame::NoFrame);
  setWidgetResizable(true);
  setWidget(content);
}

QSize FittingScrollArea::sizeHint() const {
  // QScrollArea bounds its hint to a few dozen lines; this one wants it all.
  const int frame = 2 * frameWidth();
  return widget() ? widget()->sizeHint() + QSize(frame, frame) : QScrollArea::sizeHint();
}

bool FittingScrollArea::eventFilter(QObject* watched, QEvent* event) {
  if (watched == widget() && event->type() == QEvent::LayoutRequest) updateGeometry();
  return QScrollArea::eventFilter(watched, event);
}

}  // namespace jc::qt
