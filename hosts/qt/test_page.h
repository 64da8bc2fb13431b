// The page the dialog prints when it is given no file.
#pragma once

#include <QString>
#include <optional>
#include <string>

#include "plugin/host.h"

class QPrinter;

namespace jc::qt {

// Paints one page through `printer`: a title, the printer and the panel's
// entry names. False when the printer cannot be painted on.
bool paintTestPage(QPrinter& printer, const PrintSettings& entries);

// The newest job of this user on `destination`, or none.
std::optional<int> newestJobOf(const std::string& destination);

}  // namespace jc::qt
