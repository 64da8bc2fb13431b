// The jobcontrol binary run as a user runs it, kept apart from the caller's
// own settings: a configuration folder of the test's, the C locale, and no
// bundle or module chosen by the caller's environment.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "support/process_runner.h"

namespace jc::test {

using Environment = std::map<std::string, std::optional<std::string>>;

// How a test runs the command, besides its arguments.
struct CliSetup {
  std::filesystem::path configHome = {};               // XDG_CONFIG_HOME
  std::optional<std::filesystem::path> prefsDir = {};  // passed as --prefs-dir when set
  Environment environment = {};                        // further changes to the child's environment
  std::optional<mode_t> umask = {};                    // the child's, when set
};

// Runs jobcontrol with `args` and `input` on its standard input.
ProcessResult runCli(const CliSetup& setup, std::vector<std::string> args,
                     const std::string& input = {});

// `show ARGS --json`, which must succeed with nothing on standard error.
nlohmann::json showJson(const CliSetup& setup, std::vector<std::string> args,
                        const std::string& input = {});

// Standard output as JSON; a discarded value, and a failure, when it is none.
nlohmann::json parseJsonOutput(const ProcessResult& run);

}  // namespace jc::test
