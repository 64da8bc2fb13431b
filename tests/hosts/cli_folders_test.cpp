// `jobcontrol folders` end to end: the real binary asks a printer on the
// loopback interface for its folders, keeps them with the printer's
// preferences, and the next run shows them in the folder pop-up.
#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/cli_run.h"
#include "support/file_text.h"
#include "support/panel_fixture.h"
#include "support/printer_simulator.h"

extern char** environ;

namespace jc::test {
namespace {

using Mode = PrinterSimulator::Mode;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

struct CliRun : ProcessResult {
  Clock::duration elapsed{};
};

// Runs the command line with a private preferences folder and configuration
// home, its response file in `dir`/run, and no proxy between it and the
// printer.
CliRun runTimed(const TempDir& dir, const std::vector<std::string>& args) {
  const std::filesystem::path runDir = dir.path() / "run";
  std::filesystem::create_directories(runDir);
  Environment environment = {{"XDG_RUNTIME_DIR", runDir.string()}, {"TMPDIR", std::nullopt}};
  for (char** e = environ; *e; ++e) {
    std::string name(*e, std::strcspn(*e, "="));
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (name.ends_with("_proxy")) environment[std::string(*e, name.size())] = std::nullopt;
  }
  const auto start = Clock::now();
  CliRun run{runCli(
      {.configHome = dir.path(), .prefsDir = dir.path() / "prefs", .environment = environment},
      args)};
  run.elapsed = Clock::now() - start;
  return run;
}

const nlohmann::json kThreeFolders = nlohmann::json::parse(R"([
  {"name": "Projects", "password": false, "dir": true, "add": false},
  {"name": "Payroll", "password": true, "dir": true, "add": false},
  {"name": "Scans", "password": false, "dir": false, "add": false}])");

TEST(CliFoldersTest, FetchesStoresAndShowsThePrintersFolders) {
  TempDir dir;
  PrinterSimulator printer;  // Projects, Payroll (protected), Scans
  const CliRun fetch = runTimed(dir, {"folders", "--address", printer.address(), "--json"});
  ASSERT_EQ(fetch.exitStatus, 0) << fetch.err;
  EXPECT_EQ(fetch.err.find("Could not retrieve"), std::string::npos) << fetch.err;
  const nlohmann::json fetched = parseJsonOutput(fetch);
  EXPECT_EQ(fetched.at("folderList"), kThreeFolders);
  EXPECT_EQ(printer.requests().size(), 1u);
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "run" / "jobcontrol" / "vwxyz.xml"));

  // The next dialog for the printer shows them, without asking the printer again.
  const CliRun show = runTimed(dir, {"show", "--json"});
  ASSERT_EQ(show.exitStatus, 0) << show.err;
  const nlohmann::json items =
      parseJsonOutput(show).at("controls").at("folderSelectionPopup").at("items");
  const nlohmann::json expected = nlohmann::json::parse(R"([
    {"title": "Quick File"}, {"title": "Main Folder"}, {"separator": true},
    {"title": "Projects"}, {"title": "Payroll", "icon": "lock"}, {"title": "Scans"}])");
  EXPECT_EQ(items, expected);
  EXPECT_EQ(printer.requests().size(), 1u);

  // The stored list belongs to this printer's domain only.
  const CliRun other = runTimed(
      dir, {"--ppd", samplePpdPath().string(), "--printer-id", "Other_MFP", "show", "--json"});
  ASSERT_EQ(other.exitStatus, 0) << other.err;
  EXPECT_EQ(parseJsonOutput(other).at("controls").at("folderSelectionPopup").at("items").size(),
            2u);
}

// The one test that waits the real 20 seconds: the command has no time-out option.
TEST(CliFoldersTest, StalledPrinterAlertsAfterTwentySecondsAndExitsThree) {
  TempDir dir;
  PrinterSimulator::Options stall;
  stall.mode = Mode::Stall;
  PrinterSimulator printer(stall);
  // An answer of another printer from an earlier run is left in the response file.
  const std::filesystem::path answerFolder = dir.path() / "run" / "jobcontrol";
  std::filesystem::create_directories(answerFolder);
  std::filesystem::permissions(answerFolder, std::filesystem::perms::owner_all);
  const std::string stale = folderListAnswer({{"Other printer", true, false}});
  writeFile(answerFolder / "vwxyz.xml", stale);

  const CliRun run = runTimed(dir, {"folders", "--address", printer.address(), "--json"});
  EXPECT_EQ(run.exitStatus, 3) << run.err;
  EXPECT_GE(run.elapsed, 20s);
  EXPECT_LT(run.elapsed, 25s);
  EXPECT_NE(run.err.find("Could not retrieve Folder Names."), std::string::npos) << run.err;
  EXPECT_EQ(parseJsonOutput(run).at("folderList"), nlohmann::json::array());
  EXPECT_EQ(readFile(answerFolder / "vwxyz.xml"), stale);
  EXPECT_EQ(printer.requests().size(), 1u);
}

}  // namespace
}  // namespace jc::test
