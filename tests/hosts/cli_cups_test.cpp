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
#include "support/hostile_ipp_printer.h"
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
  // It carries the entries already: not held again for Job Control.
  EXPECT_EQ(jobAttribute(jobId, "job-hold-until"), "no-hold");
  EXPECT_EQ(jobAttribute(jobId, "korvel.print.PrintSettings.userName"), "416461");
  EXPECT_EQ(jobAttribute(jobId, "korvel.print.PrintSettings.jobSuspend2Key"),
            out["printSettings"]["korvel.print.PrintSettings.jobSuspend2Key"]);
  // The preferences are those of the queue's identifier.
  EXPECT_TRUE(
      std::filesystem::exists(dir.path() / "prefs" / ("korvel.mfp." + queue.name() + ".plist")));
}

// The scheduler says job-password-encryption-supported=none for any queue
// whose PPD takes a PIN, whatever the printer takes: it never stands in for a
// driverless printer that cannot be asked.
TEST(CliCupsTest, DriverlessQueueOfAPrinterThatIsDownSendsNoPin) {
  if (!schedulerRuns()) GTEST_SKIP() << "no CUPS scheduler runs here";
  if (access("/usr/sbin/lpadmin", X_OK) != 0) GTEST_SKIP() << "no lpadmin";
  TempDir dir;
  const std::filesystem::path ppd = dir.path() / "ippeve.ppd";
  writeFile(ppd,
            "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"2.4\"\n"
            "*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n"
            "*PCFileName: \"ippeve.ppd\"\n*Manufacturer: \"Test\"\n*ModelName: \"Printer\"\n"
            "*NickName: \"Printer - IPP Everywhere\"\n"
            "*ShortNickName: \"Printer - IPP Everywhere\"\n*PSVersion: \"(3010.000) 0\"\n"
            "*cupsJobPassword: \"1111\"\n*OpenUI *PageSize: PickOne\n*DefaultPageSize: A4\n"
            "*PageSize A4: \"\"\n*CloseUI: *PageSize\n");
  const std::string host = "127.0.0.1:" + std::to_string(unusedLoopbackPort());
  CupsQueue queue("_down", "ipp://" + host + "/ipp/print", ppd);
  if (!queue.ok()) GTEST_SKIP() << "cannot add a CUPS queue here";
  const ProcessResult run = runCli({.configHome = dir.path(), .prefsDir = dir.path()},
                                   {"--printer", queue.name(), "save", "--retention", "on",
                                    "--hold-mode", "hold-only", "--passcode", "1234", "--json"});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  const nlohmann::json plan = parseJsonOutput(run)["standardAttributes"];
  EXPECT_EQ(plan["options"], nlohmann::json::object());
  EXPECT_EQ(plan["notes"], nlohmann::json::array({"The printer could not be asked which PIN it "
                                                  "takes (no connection to " +
                                                  host + "): the pass code is not sent to it."}));
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
