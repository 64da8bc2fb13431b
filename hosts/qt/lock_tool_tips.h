// The tool tip of each field's check box with the padlock: what locking does.
#pragma once

#include <QString>

namespace jc::qt {

class QtView;

// Gives every lock check box of the view (a check box named "...Button")
// the tool tip `text`.
void addLockToolTips(QtView& view, const QString& text);

}  // namespace jc::qt
