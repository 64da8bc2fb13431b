// jobcontrol-agent: the Job Control window for each of the user's jobs that
// a queue holds for it, from whatever application printed them.
#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <iostream>

#include "hosts/common/held_jobs.h"
#include "hosts/common/host_translation.h"
#include "hosts/common/module_loader.h"
#include "hosts/common/scheduler_check.h"
#include "hosts/qt/agent_options.h"
#include "hosts/qt/dialog_icon.h"
#include "hosts/qt/job_agent.h"
#include "hosts/qt/qt_program.h"
#include "hosts/qt/window_fit.h"
#include "platform/directory_bundle.h"

namespace jc::qt {
namespace {

const QtProgram program("jobcontrol-agent");
constexpr int kFailed = kProgramFailed;

int fail(int status, const std::string& message) { return program.fail(status, message); }

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
    return kProgramUsage;
  }
  if (options.help) {
    std::cout << agentUsageText();
    return 0;
  }
  if (options.version) return program.printVersion();
  return program.runWithQt(argc, argv, bool(options.screenshot), [&] { return run(options); });
}
