// Calling back whenever a control under a widget changes: a check box or
// radio button toggled, a field's text edited, a pop-up item chosen.
#pragma once

#include <functional>

class QObject;
class QWidget;

namespace jc::qt {

// `changed` runs after each change of a button, line edit or combo box under
// `root`, for as long as `context` lives.
void watchChanges(QWidget& root, QObject& context, std::function<void()> changed);

}  // namespace jc::qt
