// `jobcontrol folders` end to end: the real binary asks a printer on the
// loopback interface for its folders, keeps them with the printer's
// preferences, and the next run shows them in the folder pop-up.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/panel_fixture.h"
#include "support/printer_simulator.h"

extern char** environ;

namespace jc::test {
namespace {

using Mode = PrinterSimulator::Mode;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

std::string readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct CliRun {
  int status = -1;
  std::string out, err;
  Clock::duration elapsed{};
};

// Runs the command line with a private preferences folder and configuration
// home, its response file in `dir`/run, and no proxy between it and the
// printer. Everything the child needs is prepared before fork: the printer
// simulator's threads keep running in this process.
CliRun runCli(const TempDir& dir, std::vector<std::string> args) {
  const std::filesystem::path outFile = dir.path() / "stdout", errFile = dir.path() / "stderr";
  const std::filesystem::path runDir = dir.path() / "run";
  std::filesystem::create_directories(runDir);
  args.insert(args.begin(), {JC_CLI_PATH, "--prefs-dir", (dir.path() / "prefs").string()});

  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    const std::string name = entry.substr(0, entry.find('='));
    std::string lower = name;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower.ends_with("_proxy") || name == "XDG_RUNTIME_DIR" || name == "TMPDIR" ||
        name == "XDG_CONFIG_HOME" || name == "LC_ALL")
      continue;
    env.push_back(entry);
  }
  env.push_back("XDG_RUNTIME_DIR=" + runDir.string());
  env.push_back("XDG_CONFIG_HOME=" + dir.path().string());
  env.push_back("LC_ALL=C");

  std::vector<char*> argv, envp;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);

  const int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  const int in = open("/dev/null", O_RDONLY | O_CLOEXEC);
  CliRun run;
  if (out < 0 || err < 0 || in < 0) {
    ADD_FAILURE() << "cannot open the child's output files";
    return run;
  }
  const auto start = Clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  close(out);
  close(err);
  close(in);
  int status = 0;
  if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status))
    run.status = WEXITSTATUS(status);
  run.elapsed = Clock::now() - start;
  run.out = readFile(outFile);
  run.err = readFile(errFile);
  return run;
}

nlohmann::json parseJson(const CliRun& run) {
  nlohmann::json json = nlohmann::json::parse(run.out, nullptr, false);
  EXPECT_FALSE(json.is_discarded()) << run.out;
  return json;
}

const nlohmann::json kThreeFolders = nlohmann::json::parse(R"([
  {"name": "Projects", "password": false, "dir": true, "add": false},
  {"name": "Payroll", "password": true, "dir": true, "add": false},
  {"name": "Scans", "password": false, "dir": false, "add": false}])");

TEST(CliFoldersTest, FetchesStoresAndShowsThePrintersFolders) {
  TempDir dir;
  PrinterSimulator printer;  // Projects, Payroll (protected), Scans
  const CliRun fetch = runCli(dir, {"folders", "--address", printer.address(), "--json"});
  ASSERT_EQ(fetch.status, 0) << fetch.err;
  EXPECT_EQ(fetch.err.find("Could not retrieve"), std::string::npos) << fetch.err;
  const nlohmann::json fetched = parseJson(fetch);
  EXPECT_EQ(fetched.at("folderList"), kThreeFolders);
  EXPECT_EQ(printer.requests().size(), 1u);
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "run" / "vwxyz.xml"));

  // The next dialog for the printer shows them, without asking the printer again.
  const CliRun show = runCli(dir, {"show", "--json"});
  ASSERT_EQ(show.status, 0) << show.err;
  const nlohmann::json items =
      parseJson(show).at("controls").at("folderSelectionPopup").at("items");
  const nlohmann::json expected = nlohmann::json::parse(R"([
    {"title": "Quick File"}, {"title": "Main Folder"}, {"separator": true},
    {"title": "Projects"}, {"title": "Payroll", "icon": "lock"}, {"title": "Scans"}])");
  EXPECT_EQ(items, expected);
  EXPECT_EQ(printer.requests().size(), 1u);

  // The stored list belongs to this printer's domain only.
  const CliRun other = runCli(
      dir, {"--ppd", samplePpdPath().string(), "--printer-id", "Other_MFP", "show", "--json"});
  ASSERT_EQ(other.status, 0) << other.err;
  EXPECT_EQ(parseJson(other).at("controls").at("folderSelectionPopup").at("items").size(), 2u);
}

// The one test that waits the real 20 seconds: the command has no time-out option.
TEST(CliFoldersTest, StalledPrinterAlertsAfterTwentySecondsAndExitsThree) {
  TempDir dir;
  PrinterSimulator::Options stall;
  stall.mode = Mode::Stall;
  PrinterSimulator printer(stall);
  // An answer of another printer from an earlier run is left in the response file.
  std::filesystem::create_directories(dir.path() / "run");
  const std::string stale = folderListAnswer({{"Other printer", true, false}});
  std::ofstream(dir.path() / "run" / "vwxyz.xml", std::ios::binary) << stale;

  const CliRun run = runCli(dir, {"folders", "--address", printer.address(), "--json"});
  EXPECT_EQ(run.status, 3) << run.err;
  EXPECT_GE(run.elapsed, 20s);
  EXPECT_LT(run.elapsed, 25s);
  EXPECT_NE(run.err.find("Could not retrieve Folder Names."), std::string::npos) << run.err;
  EXPECT_EQ(parseJson(run).at("folderList"), nlohmann::json::array());
  EXPECT_EQ(readFile(dir.path() / "run" / "vwxyz.xml"), stale);
  EXPECT_EQ(printer.requests().size(), 1u);
}

}  // namespace
}  // namespace jc::test
