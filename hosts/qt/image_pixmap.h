// The pictures the panel asks for, as Qt pixmaps: the padlock system icons
// drawn at the requested size, bundle images read from their files.
#pragma once

#include <QIcon>
#include <QPixmap>

#include "ui/toolkit.h"

namespace jc::qt {

// A pixmap of `image` at its size; an empty one for none or an unknown icon.
QPixmap pixmapFor(const ImagePtr& image);
QIcon iconFor(const ImagePtr& image);

}  // namespace jc::qt
