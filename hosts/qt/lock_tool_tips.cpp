#include "hosts/qt/lock_tool_tips.h"

#include <QCheckBox>

#include "hosts/qt/qt_view.h"

namespace jc::qt {

void addLockToolTips(QtView& view, const QString& text) {
  QWidget* root = view.rootWidget();
  if (!root) return;
  for (QCheckBox* box : root->findChildren<QCheckBox*>())
    if (box->objectName().endsWith(QLatin1String("Button"))) box->setToolTip(text);
}

}  // namespace jc::qt
