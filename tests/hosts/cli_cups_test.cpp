// jobcontrol with a real CUPS queue: the printer's address and identifier come
// from the scheduler, and a printed job carries the panel's entries. Skipped
// where no scheduler runs or no queue can be added.
#include <cups/cups.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "support/cli_run.h"
#include "support/cups_queue.h"
#include "support/file_text.h"
#include "support/panel_fixture.h"
#include "support/temp_dir.h"

namespace jc::test {
namespace {

TEST(CliCupsTest, PrintsToAQueueWithThePanelsEntries) {
  if (!schedulerRuns()) GTEST_SKIP() << "no CUPS scheduler runs here";
  if (access("/usr/sbin/lpadmin", X_OK) != 0) GTEST_SKIP() << "no lpadmin";
  CupsQueue queue;
  if (!queue.ok()) GTEST_SKIP() << "cannot add a CUPS queue here";
  TempDir dir;
  const CliSetup setup{.configHome = dir.path(), .prefsDir = dir.path() / "prefs"};

  // The address field shows the host of the queue's device URI.
  const nlohmann::json shown = showJson(setup, {"--printer", queue.name()});
  EXPECT_EQ(shown["controls"]["printersAddressEditText"]["text"], "127.0.0.1");

  const std::filesystem::path document = dir.path() / "document.txt";
  writeFile(document, "hello\n");
  const ProcessResult run =
      runCli(setup, {"--printer", queue.name(), "print", document.string(), "--retention", "on",
                     "--passcode", "1234", "--user-name", "Ada", "--json"});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  const nlohmann::json out = parseJsonOutput(run);
  ASSERT_TRUE(out["job"]["sent"].get<bool>());
  const int jobId = out["job"]["jobId"].get<int>();
  EXPECT_GT(jobId, 0);

  // The scheduler keeps the entries with the job, as the printer's filter reads them.
  EXPECT_EQ(jobAttribute(jobId, "korvel.print.PrintSettings.jobSuspend"), "2");
  EXPECT_EQ(jobAttribute(jobId, "korvel.print.PrintSettings.userName"), "416461");
  EXPECT_EQ(jobAttribute(jobId, "korvel.print.PrintSettings.jobSuspend2Key"),
            out["printSettings"]["korvel.print.PrintSettings.jobSuspend2Key"]);
  // The preferences are those of the queue's identifier.
  EXPECT_TRUE(
      std::filesystem::exists(dir.path() / "prefs" / ("korvel.mfp." + queue.name() + ".plist")));
}

TEST(CliCupsTest, UnknownQueueIsRefused) {
  if (!schedulerRuns()) GTEST_SKIP() << "no CUPS scheduler runs here";
  TempDir dir;
  const ProcessResult run =
      runCli({.configHome = dir.path()}, {"--printer", "NoSuchQueue_JobControl", "show"});
  EXPECT_EQ(run.exitStatus, 2);
  EXPECT_NE(run.err.find("NoSuchQueue_JobControl"), std::string::npos) << run.err;
  EXPECT_TRUE(run.out.empty());
}

}  // namespace
}  // namespace jc::test
