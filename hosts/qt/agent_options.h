// The command line of `jobcontrol-agent`.
#pragma once

#include <optional>
#include <string>

namespace jc::qt {

struct AgentCommandLine {
  bool once = false;                      // --once
  std::optional<std::string> screenshot;  // --screenshot FILE.png
  std::optional<std::string> prefsDir;    // --prefs-dir DIR
  bool help = false;
  bool version = false;
};

struct AgentUsageError {
  std::string message;
};

// Parses argv (every option with a value also as --option=VALUE); throws
// AgentUsageError with a message fit for the user.
AgentCommandLine parseAgentOptions(int argc, char** argv);
// The --help text, in the user's language.
std::string agentUsageText();

}  // namespace jc::qt
