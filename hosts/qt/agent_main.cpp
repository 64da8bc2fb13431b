// jobcontrol-agent: the Job Control window for each of the user's jobs that
// a queue holds for it, from whatever application printed them.
#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <iostream>

#include "hosts/common/held_jobs.h"
#include "hosts/common/host_translation.h"
#include "hosts/common/host_version.h"
#include "hosts/common/module_loader.h"
#include "hosts/common/scheduler_check.h"
#include "hosts/qt/agent_options.h"
#include "hosts/qt/dialog_icon.h"
#include "hosts/qt/dialog_platform.h"
#include "hosts/qt/job_agent.h"
#include "hosts/qt/qt_translations.h"
#include "hosts/qt/window_fit.h"
#include "platform/directory_bundle.h"

namespace jc::qt {
namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;

int fail(int status, const std::string& message) {
  std::cerr << "jobcontrol-agent: " << message << "\n";
  return status;
}

PanelTabOptions tabOptionsFor(const AgentCommandLine& options) {
  PanelTabOptions tab;
  tab.modulePath = defaultModulePath();
  if (options.prefsDir) tab.prefsFolder = *options.prefsDir;
  return tab;
}

// The first waiting job's window, drawn off screen; nothing is done to it.
int writePicture(const AgentCommandLine& options) {
  const std::vector<HeldJob> waiting = jobsWaitingForJobControl();
  if (waiting.empty()) return fail(kFailed, tr("no job of yours waits for Job Control"));
  const HeldJob& job = waiting.front();
  HeldJobWindow window({job.id, job.printer, job.title, job.documentName}, tabOptionsFor(options),
                       {});
  window.show();
  QApplication::processEvents();
  window.adjustSize();
  fitToScreen(window);
  QApplication::processEvents();
  if (!window.grab().save(QString::fromStdString(*options.screenshot), "PNG"))
    return fail(kFailed, tr("cannot write the picture {0}", {*options.screenshot}));
  return 0;
}

int run(const AgentCommandLine& options) {
  if (!schedulerAnswers()) return fail(kFailed, tr(schedulerNotRunning()));
  static const int anchor = 0;
  if (const auto bundle = DirectoryBundle::findFolder(&anchor))
    QApplication::setWindowIcon(dialogIcon(*bundle));
  if (options.screenshot) return writePicture(options);
  JobAgent agent({tabOptionsFor(options), options.once});
  // From the event loop: the run may be done before the loop starts.
  agent.onDone = [] { QTimer::singleShot(0, qApp, &QApplication::quit); };
  QApplication::setQuitOnLastWindowClosed(false);
  if (!agent.start() && !options.once)
    std::cerr << "jobcontrol-agent: "
              << tr("the system bus cannot be reached: new jobs are seen only at the next start")
              << "\n";
  return QApplication::exec();
}

int printVersion() {
  try {
    printHostVersion(std::cout, "jobcontrol-agent");
    return 0;
  } catch (const ModuleError& e) {
    return fail(kFailed, tr(e.message()));
  }
}

}  // namespace
}  // namespace jc::qt

int main(int argc, char** argv) {
  using namespace jc::qt;
  using jc::tr;
  AgentCommandLine options;
  try {
    options = parseAgentOptions(argc, argv);
  } catch (const AgentUsageError& e) {
    std::cerr << "jobcontrol-agent: " << e.message << "\n"
              << tr("Try 'jobcontrol-agent --help'.") << "\n";
    return kUsage;
  }
  if (options.help) {
    std::cout << agentUsageText();
    return 0;
  }
  if (options.version) return printVersion();
  if (options.screenshot) useOffscreenPlatform();
  if (const auto missing = missingDisplay()) return fail(kFailed, *missing);
  installQtMessageFilter();
  QApplication app(argc, argv);
  installQtTranslations();
  try {
    return run(options);
  } catch (const jc::HostError& e) {
    return fail(kFailed, tr(e.message()));
  } catch (const std::exception& e) {
    return fail(kFailed, e.what());
  }
}
