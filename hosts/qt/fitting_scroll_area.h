// A scroll area that asks for all of its content's room, but can be made
// smaller than it, scrolling then: the tab keeps the dialog on a small
// screen without scroll bars on a large one.
#pragma once

#include <QScrollArea>

namespace jc::qt {

class FittingScrollArea final : public QScrollArea {
 public:
  explicit FittingScrollArea(QWidget* content);
  QSize sizeHint() const override;

 protected:
  // A content whose layout changed (the panel made) asks for its new room.
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace jc::qt
