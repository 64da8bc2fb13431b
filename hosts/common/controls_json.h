// A loaded layout as JSON, the same for every toolkit: one entry per outlet
// with the members that apply to its kind, and the outlet holding the focus.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>

#include "ui/toolkit.h"

namespace jc {

// "tabView", "checkBox", "editField", ...
const char* controlKindName(ControlKind kind);
// The four characters of a system icon code ("lock"); empty for 0.
std::string iconName(std::uint32_t code);

nlohmann::ordered_json controlsJson(const View& view);
// The outlet name of the control with the keyboard focus, or null.
nlohmann::ordered_json focusJson(View& view);

}  // namespace jc
