#include "hosts/qt/qt_program.h"

#include <QApplication>
#include <iostream>

#include "hosts/common/host_error.h"
#include "hosts/common/host_translation.h"
#include "hosts/common/host_version.h"
#include "hosts/common/module_loader.h"
#include "hosts/qt/dialog_platform.h"
#include "hosts/qt/qt_translations.h"

namespace jc::qt {

int QtProgram::fail(int status, const std::string& message) const {
  std::cerr << name_ << ": " << message << "\n";
  return status;
}

int QtProgram::printVersion() const {
  try {
    printHostVersion(std::cout, name_);
    return 0;
  } catch (const ModuleError& e) {
    return fail(kProgramFailed, tr(e.message()));
  }
}

int QtProgram::runWithQt(int& argc, char** argv, bool offscreen,
                         const std::function<int()>& body) const {
  // A picture is drawn off screen, whatever display there is.
  if (offscreen) useOffscreenPlatform();
  if (const auto missing = missingDisplay()) return fail(kProgramFailed, *missing);
  installQtMessageFilter();
  QApplication app(argc, argv);
  installQtTranslations();
  try {
    return body();
  } catch (const HostError& e) {
    return fail(kProgramFailed, tr(e.message()));
  } catch (const std::exception& e) {
    return fail(kProgramFailed, e.what());
  }
}

}  // namespace jc::qt
