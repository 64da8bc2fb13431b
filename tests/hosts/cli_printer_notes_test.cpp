// What jobcontrol says on stderr about the printer before the command runs:
// a printer that takes no Job Control, a printer that files nothing. The
// command runs all the same.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/cli_run.h"
#include "support/file_text.h"
#include "support/panel_fixture.h"

namespace jc::test {
namespace {

namespace fs = std::filesystem;

const std::string kNotJobControl = "jobcontrol: This printer does not take Job Control.\n";
const std::string kNoFiling =
    "jobcontrol: This printer keeps no filed jobs: the job is not filed into a folder.\n";

TEST(CliPrinterNotesTest, SaysWhatThePrinterDoesNotTake) {
  TempDir home;
  const fs::path generic = fs::path(JC_TEST_DATA_DIR) / "ppd" / "generic.ppd";
  // The administrator's mark on a copy of the generic PPD.
  const fs::path marked = home.path() / "marked.ppd";
  std::ofstream(marked) << readFile(generic) << "*KorvelJobControl: True\n";
  struct Case {
    const char* what;
    std::vector<std::string> args;
    std::string err;
  };
  const std::vector<Case> cases = {
      {"the family's sample printer", {"save"}, ""},
      {"a generic printer", {"--ppd", generic.string(), "save"}, kNotJobControl},
      {"a generic printer sent the standard attributes",
       {"--ppd", generic.string(), "--standard-attributes", "on", "save"},
       ""},
      {"a generic printer the administrator marked", {"--ppd", marked.string(), "save"}, ""},
      {"a folder on a printer without storage",
       {"save", "--retention", "on", "--folder", "main"},
       kNoFiling},
      {"both",
       {"--ppd", generic.string(), "save", "--retention", "on", "--folder-index", "0"},
       kNotJobControl + kNoFiling},
  };
  for (const Case& c : cases) {
    const ProcessResult r = runCli({.configHome = home.path()}, c.args);
    EXPECT_EQ(r.exitStatus, 0) << c.what << ": " << r.err;
    EXPECT_EQ(r.err, c.err) << c.what;
    // The entries are written as ever.
    EXPECT_NE(r.out.find("korvel.print.PrintSettings.holdButton"), std::string::npos) << c.what;
  }
}

// Without a scheduler CUPS says every printer "does not exist"; the command
// says why instead.
TEST(CliPrinterNotesTest, WithoutASchedulerSaysThePrintSystemIsNotRunning) {
  TempDir home;
  const ProcessResult r =
      runCli({.configHome = home.path(), .environment = {{"CUPS_SERVER", "127.0.0.1:1"}}},
             {"--printer", "Office", "show"});
  EXPECT_EQ(r.exitStatus, 2);
  EXPECT_EQ(r.err,
            "jobcontrol: the print system is not running: CUPS's scheduler does not answer at "
            "127.0.0.1:1\n");
}

}  // namespace
}  // namespace jc::test
