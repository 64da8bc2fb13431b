#include "support/cli_run.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace jc::test {

ProcessResult runCli(const CliSetup& setup, std::vector<std::string> args,
                     const std::string& input) {
  if (setup.prefsDir) args.insert(args.begin(), {"--prefs-dir", setup.prefsDir->string()});
  args.insert(args.begin(), JC_CLI_PATH);
  Environment environment = {{"XDG_CONFIG_HOME", setup.configHome.string()},
                             {"LC_ALL", "C"},
                             {"LANG", "C"},
                             {"LANGUAGE", std::nullopt},
                             {"LC_MESSAGES", std::nullopt},
                             {"JOBCONTROL_BUNDLE_DIR", std::nullopt},
                             {"JOBCONTROL_MODULE", std::nullopt}};
  for (const auto& [name, value] : setup.environment) environment[name] = value;
  return runProcess(args, environment, input, setup.umask);
}

nlohmann::json showJson(const CliSetup& setup, std::vector<std::string> args,
                        const std::string& input) {
  args.insert(args.begin(), "show");
  args.push_back("--json");
  const ProcessResult shown = runCli(setup, args, input);
  EXPECT_EQ(shown.exitStatus, 0) << shown.err;
  // The sample printer keeps no filed jobs, and says so when a folder is chosen.
  const bool choosesFolder = std::any_of(
      args.begin(), args.end(), [](const std::string& arg) { return arg.starts_with("--folder"); });
  EXPECT_EQ(shown.err, choosesFolder ? "jobcontrol: This printer keeps no filed jobs: the job is "
                                       "not filed into a folder.\n"
                                     : "");
  return parseJsonOutput(shown);
}

nlohmann::json parseJsonOutput(const ProcessResult& run) {
  nlohmann::json json = nlohmann::json::parse(run.out, nullptr, false);
  EXPECT_FALSE(json.is_discarded()) << run.out;
  return json;
}

}  // namespace jc::test
