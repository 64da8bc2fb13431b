// What jobcontrol-dialog checks and quietens around Qt's window system: a
// display to open on, and the messages of Qt's platform plug-ins.
#pragma once

#include <optional>
#include <string>

namespace jc::qt {

// Why there is no window system to open the dialog on (no platform named in
// QT_QPA_PLATFORM and neither DISPLAY nor WAYLAND_DISPLAY set), in the user's
// language; none when there may be one.
std::optional<std::string> missingDisplay();

// Makes the program's drawing off screen: Qt's offscreen platform, keeping
// the options (a screen configuration) of one already chosen.
void useOffscreenPlatform();

// Routes Qt's messages through a filter: the offscreen platform's notice that
// it does not support size hints is dropped, and a fatal message (a window
// system that cannot be opened) ends the program with exit status 1 and the
// message, instead of an abort.
void installQtMessageFilter();

}  // namespace jc::qt
