#include "hosts/qt/change_watch.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

namespace jc::qt {

void watchChanges(QWidget& root, QObject& context, std::function<void()> changed) {
  for (QAbstractButton* button : root.findChildren<QAbstractButton*>())
    QObject::connect(button, &QAbstractButton::toggled, &context, changed);
  for (QLineEdit* field : root.findChildren<QLineEdit*>())
    QObject::connect(field, &QLineEdit::textChanged, &context, changed);
  for (QComboBox* popUp : root.findChildren<QComboBox*>())
    QObject::connect(popUp, &QComboBox::currentIndexChanged, &context, changed);
}

}  // namespace jc::qt
