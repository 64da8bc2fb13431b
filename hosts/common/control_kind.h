// The control kind of a layout widget's Qt class, as both toolkits read it.
#pragma once

#include <optional>
#include <string_view>

#include "ui/toolkit.h"

namespace jc {

// The kind of a widget of class `cls` ("QCheckBox"); none for a container,
// whose children are looked through.
std::optional<ControlKind> controlKindOfClass(std::string_view cls);

}  // namespace jc
