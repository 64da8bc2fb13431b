// The line in the panel's Filing group that says the printer files nothing.
#pragma once

#include <QString>

namespace jc::qt {

class QtView;

// Adds `text` as a last row of the view's Filing group ("filingBox"), as a
// label named "filingNote"; nothing when the layout has no such group.
void addFilingNote(QtView& view, const QString& text);

}  // namespace jc::qt
