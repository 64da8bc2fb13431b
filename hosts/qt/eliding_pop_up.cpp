#include "hosts/qt/eliding_pop_up.h"

#include <QComboBox>
#include <QEvent>
#include <QStyleOptionComboBox>
#include <QStylePainter>

namespace jc::qt {
namespace {

class ElidingPainter final : public QObject {
 public:
  explicit ElidingPainter(QComboBox& popUp) : QObject(&popUp), popUp_(popUp) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != &popUp_ || event->type() != QEvent::Paint || popUp_.isEditable())
      return QObject::eventFilter(watched, event);
    paint();
    return true;
  }

 private:
  // As QComboBox paints itself, with the label's text elided to its room.
  void paint() {
    QStylePainter painter(&popUp_);
    QStyleOptionComboBox option;
    option.initFrom(&popUp_);
    option.editable = false;
    option.frame = popUp_.hasFrame();
    option.subControls = QStyle::SC_All;
    option.currentIcon = popUp_.itemIcon(popUp_.currentIndex());
    option.iconSize = popUp_.iconSize();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect room = popUp_.style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                      QStyle::SC_ComboBoxEditField, &popUp_);
    const int icon = option.currentIcon.isNull() ? 0 : option.iconSize.width() + 4;
    option.currentText =
        popUp_.fontMetrics().elidedText(popUp_.currentText(), Qt::ElideRight, room.width() - icon);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
  }

  QComboBox& popUp_;
};

}  // namespace

void elideClosedPopUp(QComboBox& popUp) {
  popUp.setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  popUp.setMinimumContentsLength(16);
  popUp.installEventFilter(new ElidingPainter(popUp));
}

}  // namespace jc::qt
