#include "hosts/qt/dialog_platform.h"

#include <QString>
#include <QtGlobal>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "hosts/common/host_translation.h"

namespace jc::qt {
namespace {

bool isSet(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

void filterMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith(QLatin1String("This plugin does not support propagateSizeHints"))) return;
  if (type != QtFatalMsg) return qt_message_output(type, context, message);
  std::cerr << "jobcontrol-dialog: "
            << tr("Qt cannot go on: {0}", {message.toLocal8Bit().toStdString()}) << "\n";
  std::_Exit(1);
}

}  // namespace

std::optional<std::string> missingDisplay() {
  if (isSet("QT_QPA_PLATFORM") || isSet("DISPLAY") || isSet("WAYLAND_DISPLAY")) return std::nullopt;
  return tr(
      "no display to open the dialog on: neither DISPLAY nor WAYLAND_DISPLAY is set "
      "(--screenshot draws it without one)");
}

void useOffscreenPlatform() {
  const char* chosen = std::getenv("QT_QPA_PLATFORM");
  if (chosen && std::strncmp(chosen, "offscreen", 9) == 0) return;
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

void installQtMessageFilter() { qInstallMessageHandler(filterMessage); }

}  // namespace jc::qt
