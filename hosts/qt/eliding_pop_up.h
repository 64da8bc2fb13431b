// A pop-up whose closed box shows a long item's title cut with "…" instead
// of cut off, and does not widen the window for it.
#pragma once

class QComboBox;

namespace jc::qt {

void elideClosedPopUp(QComboBox& popUp);

}  // namespace jc::qt
