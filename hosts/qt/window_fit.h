// Keeping a window on the screen it opens on.
#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

namespace jc::qt {

// The client geometry for a window now at `current` that wants `wanted`
// (at least `minimum`), whose frame adds `frame` around it, on a screen
// whose free area is `available`: as large as wanted but no larger than the
// free area, and moved as little as needed for the frame to lie inside it
// (its top-left corner first, when even the minimum does not fit).
QRect fittedGeometry(const QRect& current, const QSize& wanted, const QSize& minimum,
                     const QMargins& frame, const QRect& available);

// Gives `window` its fitted geometry on its screen's available geometry,
// wanting its size hint (or its present size, when larger).
void fitToScreen(QWidget& window);

}  // namespace jc::qt
