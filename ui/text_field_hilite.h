// How a text field is drawn enabled or disabled, and the lock images.
#pragma once

#include <cstdint>

#include "ui/toolkit.h"

namespace jc {

// Draws a text field enabled (flag false) or disabled (flag true): an edit field
// (non-zero tag) also becomes editable and takes the focus, or stops being
// editable and drops the focus; a label only changes colour.
void myVx418JCHilite(ControlRef field, bool flag);

// A new 18x18 image of a system icon ('lock', 'ulck').
ImagePtr initWithSystemIconType(Toolkit* toolkit, std::uint32_t typeCode);

}  // namespace jc
