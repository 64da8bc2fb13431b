#include "hosts/qt/agent_options.h"

#include "hosts/common/host_translation.h"

namespace jc::qt {

std::string agentUsageText() {
  return tr(R"(Usage: jobcontrol-agent [--once] [--prefs-dir DIR]
       jobcontrol-agent --screenshot FILE.png [--prefs-dir DIR]

Opens the Job Control window for each of your print jobs that waits for Job
Control on a queue that holds its jobs, one after another: Print puts the
panel's entries onto the job and releases it, Cancel Job cancels it, Later
leaves it held until the agent's next start or `jobcontrol release`.
Without --once it keeps running and follows new jobs as CUPS reports them.

--once              handle the jobs that wait now, then exit
--prefs-dir DIR     where per-printer preferences live
                    (default: $XDG_CONFIG_HOME/jobcontrol)
--screenshot FILE   draws the window for the first waiting job, off screen,
                    into a PNG file; the job is not touched
--help, --version

Exit status: 0 done, 1 failure (the module refused, CUPS does not answer,
no display, no job waits for the picture), 2 a wrong command line.
)");
}

namespace {

std::string valueOf(int argc, char** argv, int& i, const std::string& option,
                    const std::optional<std::string>& inlineValue) {
  if (inlineValue) return *inlineValue;
  if (i + 1 >= argc) throw AgentUsageError{tr("{0} needs a value", {option})};
  return argv[++i];
}

}  // namespace

AgentCommandLine parseAgentOptions(int argc, char** argv) {
  AgentCommandLine o;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    std::optional<std::string> inlineValue;
    if (auto eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
      inlineValue = arg.substr(eq + 1);
      arg.resize(eq);
    }
    if (arg == "--help" || arg == "-h") {
      o.help = true;
    } else if (arg == "--version") {
      o.version = true;
    } else if (arg == "--once") {
      o.once = true;
    } else if (arg == "--screenshot") {
      o.screenshot = valueOf(argc, argv, i, arg, inlineValue);
    } else if (arg == "--prefs-dir") {
      o.prefsDir = valueOf(argc, argv, i, arg, inlineValue);
    } else if (arg.rfind("-", 0) == 0) {
      throw AgentUsageError{tr("unknown option {0}", {arg})};
    } else {
      throw AgentUsageError{tr("unexpected argument {0}", {arg})};
    }
  }
  return o;
}

}  // namespace jc::qt
