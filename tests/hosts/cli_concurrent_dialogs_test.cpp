// Two jobcontrol processes for the same printer open at once: what the one
// that saves last leaves of the other's changes.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/cli_run.h"
#include "support/file_text.h"
#include "support/process_runner.h"
#include "support/temp_dir.h"

namespace jc::test {
namespace {

namespace fs = std::filesystem;

// A dialog opens (restores its preferences) and waits for its password on
// standard input; meanwhile another dialog locks the user name "Bob" and
// prints; then the first one gets its password and prints without touching
// the user name. Bob and his lock are still there for the next dialog.
TEST(CliConcurrentDialogsTest, ALaterPrintKeepsTheLockAnotherDialogStoredMeanwhile) {
  TempDir dir;
  const fs::path document = dir.path() / "document.txt";
  writeFile(document, "Hello, printer.\n");
  const CliSetup setup{.configHome = dir.path() / "config", .prefsDir = dir.path() / "prefs"};

  RunningProcess first({JC_CLI_PATH, "--prefs-dir", setup.prefsDir->string(), "print",
                        document.string(), "--password-stdin", "--job-name", "Minutes"},
                       {{"XDG_CONFIG_HOME", setup.configHome.string()},
                        {"LC_ALL", "C"},
                        {"LANG", "C"},
                        {"JOBCONTROL_BUNDLE_DIR", std::nullopt},
                        {"JOBCONTROL_MODULE", std::nullopt}});
  ASSERT_TRUE(first.waitUntilReadingInput(std::chrono::seconds(20)));

  const ProcessResult second =
      runCli(setup, {"print", document.string(), "--user-name", "Bob", "--lock", "user-name"});
  ASSERT_EQ(second.exitStatus, 0) << second.err;

  first.finishInput("pw-secret-9\n");
  const ProcessResult printed = first.wait();
  ASSERT_EQ(printed.exitStatus, 0) << printed.err;

  const nlohmann::json controls = showJson(setup, {}).value("controls", nlohmann::json());
  ASSERT_TRUE(controls.is_object());
  EXPECT_EQ(controls.at("userNameEditText").at("text"), "Bob");
  EXPECT_EQ(controls.at("userNameButton").at("state"), 1);
  EXPECT_EQ(controls.at("passwordEditText").at("text"), "");
}

}  // namespace
}  // namespace jc::test
