// The command line as a Linux tool: it loads only a module of its own
// interface version, takes --option=VALUE and --, names the argument it
// refuses, chooses any listed folder by name or position, and never lets a
// printer's names drive the terminal.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "hosts/cli/folder_choice.h"
#include "hosts/cli/terminal_text.h"
#include "support/case_names.h"
#include "support/cli_run.h"
#include "support/file_text.h"
#include "support/panel_fixture.h"
#include "support/printer_simulator.h"

namespace jc::test {
namespace {

using nlohmann::json;

struct ModuleCase {
  const char* what;
  std::string module;
  std::vector<std::string> messages;
  // --version only loads the module; the commands also open the panel.
  std::vector<const char*> commands = {"show", "--version"};
};

TEST(CliModuleTest, RefusesAModuleItCannotSpeakWith) {
  const std::string dir = JC_FAKE_MODULE_DIR;
  const std::vector<ModuleCase> cases = {
      {"another version",
       dir + "/jc_fake_module_v999.so",
       {"was built for plug-in interface version 999", "this host speaks version 4"}},
      {"no version",
       dir + "/jc_fake_module_unversioned.so",
       {"version 1 (it names no version)", "this host speaks version 4"}},
      {"no entry point",
       dir + "/jc_fake_module_no_entry.so",
       {"has no factory entry KorvelPrintPdeVx418JCPDEPlugInCreate"}},
      {"no module", dir + "/missing.so", {"cannot load the panel module"}},
      {"a version that is data",
       dir + "/jc_fake_module_version_data.so",
       {"jobcontrol_plugin_interface_version is not a function"}},
      {"a FIFO", "FIFO", {"is not a regular file"}},
      {"a folder", dir, {"is not a regular file"}},
      {"a factory of nothing",
       dir + "/jc_fake_module_no_factory.so",
       {"jc_fake_module_no_factory.so made no factory"},
       {"show", "print"}},
      {"no panel", dir + "/jc_fake_module_no_panel.so", {"made no Job Control panel"}, {"save"}},
      {"a null panel",
       dir + "/jc_fake_module_null_panel.so",
       {"made no Job Control panel"},
       {"show"}},
      {"a panel without a view",
       dir + "/jc_fake_module_no_view.so",
       {"the panel has no view"},
       {"show", "folders"}},
  };
  TempDir home;
  const std::string fifo = (home.path() / "module.so").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const ModuleCase& c : cases) {
    for (const char* command : c.commands) {
      std::vector<std::string> args = {command};
      if (std::string_view(command) == "print") args.push_back(JC_TEST_DATA_DIR "/ppd/choices.ppd");
      const std::string module = c.module == "FIFO" ? fifo : c.module;
      const ProcessResult r =
          runCli({.configHome = home.path(), .environment = {{"JOBCONTROL_MODULE", module}}}, args);
      EXPECT_EQ(r.exitStatus, 1) << c.what << " " << command << ": " << r.err;
      for (const std::string& message : c.messages)
        EXPECT_NE(r.err.find(message), std::string::npos) << c.what << ": " << r.err;
    }
  }
  const ProcessResult own = runCli({.configHome = home.path()}, {"--version"});
  EXPECT_EQ(own.exitStatus, 0) << own.err;
  EXPECT_EQ(own.out.rfind("jobcontrol 2.", 0), 0u) << own.out;
  EXPECT_NE(own.out.find("plug-in interface version 4\npanel module "), std::string::npos);
  EXPECT_NE(own.out.find("jobcontrol-panel.so: interface version 4\n"), std::string::npos);
}

struct UsageCase {
  const char* what;
  std::vector<std::string> args;
  int status;
  std::string message;  // on standard error; empty: none
};

TEST(CliUsageTest, TakesOptionEqualsValueAndDoubleDashAndNamesTheWrongArgument) {
  TempDir home;
  const std::vector<UsageCase> cases = {
      {"value after =", {"show", "--retention=on", "--title=a=b", "--json"}, 0, ""},
      {"empty value after =", {"show", "--job-name=", "--json"}, 0, ""},
      {"-- ends the options", {"show", "--", "--json"}, 2, "unexpected argument --json"},
      {"a flag with a value", {"show", "--json=yes"}, 2, "--json takes no value"},
      {"a missing value", {"show", "--retention"}, 2, "--retention needs a value"},
      {"an unknown option", {"show", "--colour=red"}, 2, "unknown option --colour"},
      {"an unknown command", {"shwo"}, 2, "unknown command shwo"},
      {"print without a file", {"print", "--json"}, 2, "print needs the FILE to print"},
      {"release without a job",
       {"release"},
       2,
       "release needs the JOB-ID of a held job (see jobcontrol jobs)"},
      {"release of no number",
       {"release", "12x"},
       2,
       "release takes a job id (a positive number), not 12x"},
      {"release of job 0",
       {"release", "0"},
       2,
       "release takes a job id (a positive number), not 0"},
      {"release with a printer",
       {"--printer", "Office", "release", "7"},
       2,
       "release takes its printer from the job: no printer option"},
      {"jobs with a printer",
       {"--printer", "Office", "jobs"},
       2,
       "jobs takes no printer and no actions"},
      {"jobs with an action",
       {"jobs", "--retention", "on"},
       2,
       "jobs takes no printer and no actions"},
      {"queue without a CUPS queue", {"queue"}, 2, "queue needs the CUPS queue: --printer NAME"},
      {"queue with an action",
       {"--printer", "Office", "queue", "--retention", "on"},
       2,
       "queue takes no actions and no --settings"},
      {"hold setting outside queue",
       {"show", "--hold-jobs", "on"},
       2,
       "--hold-jobs goes only with queue"},
      {"hold setting of no switch",
       {"--printer", "Office", "queue", "--hold-jobs", "yes"},
       2,
       "--hold-jobs takes on or off, not yes"},
      {"standard attributes of no mode",
       {"show", "--standard-attributes", "always"},
       2,
       "--standard-attributes takes auto, on or off, not always"},
  };
  for (const UsageCase& c : cases) {
    const ProcessResult r = runCli({.configHome = home.path()}, c.args);
    EXPECT_EQ(r.exitStatus, c.status) << c.what << ": " << r.err;
    if (c.message.empty())
      EXPECT_EQ(r.err, "") << c.what;
    else
      EXPECT_NE(r.err.find("jobcontrol: " + c.message + "\n"), std::string::npos)
          << c.what << ": " << r.err;
  }
  const json out = showJson({.configHome = home.path()}, {"--retention=on", "--title=a=b"});
  EXPECT_EQ(out["controls"]["retentionCheckBox"]["state"], 1);
}

TEST(TerminalTextTest, WritesOutEveryControlCharacter) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Plain Ünï 名前", "Plain Ünï 名前"},
      {"Two\r\nLines\tTab", "Two\\r\\nLines\\tTab"},
      {"\x1b[31mRed\x07", "\\x1b[31mRed\\x07"},
      {"Del\x7f", "Del\\x7f"},
      {"Csi\xc2\x9b"
       "31m \xc2\xa0nbsp",
       "Csi\\u009b31m \xc2\xa0nbsp"},
      {std::string("Nul\0x", 5), "Nul\\x00x"},
      {"Bad\xc2", "Bad\xc2"},
      {"Rlo\u202Etxt.exe Lre\u202A Pdf\u202C", "Rlo\\u202etxt.exe Lre\\u202a Pdf\\u202c"},
      {"Isolates\u2066\u2067\u2068\u2069", "Isolates\\u2066\\u2067\\u2068\\u2069"},
      {"Around \u2029\u202F\u2065\u206A", "Around \u2029\u202F\u2065\u206A"},
      {"Cut\xe2\x80", "Cut\xe2\x80"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(cli::escapeControls(in), out) << out;
}

// The printer's folders as the pop-up lists them, from item 3 on.
const std::vector<SimulatedFolder> kFolders = {{"Work"},
                                               {"WORK", true},
                                               {"main"},
                                               {"custom"},
                                               {"Ünï"},
                                               {"Dup"},
                                               {"Dup"},
                                               {"Two\nLines"},
                                               {"Csi\xc2\x9b"
                                                "31m\x7f"},
                                               {"Rlo\u202Efdp.exe"}};

struct FolderCase {
  const char* what;
  std::vector<std::string> args;
  int index;  // the pop-up's selection; -1: refused with `message`
  std::string message = {};
};

void PrintTo(const FolderCase& c, std::ostream* os) { *os << c.what; }

class CliFolderChoiceTest : public ::testing::TestWithParam<FolderCase> {
 protected:
  static void SetUpTestSuite() {
    dir = new TempDir;
    PrinterSimulator::Options options;
    options.folders = kFolders;
    PrinterSimulator printer(options);
    fetched = new ProcessResult(runCli(setup(), {"folders", "--address", printer.address()}));
  }
  static void TearDownTestSuite() {
    delete fetched;
    delete dir;
  }
  static CliSetup setup() {
    return {.configHome = dir->path(),
            .prefsDir = dir->path() / "prefs",
            .environment = {{"XDG_RUNTIME_DIR", dir->path().string()}}};
  }
  static TempDir* dir;
  static ProcessResult* fetched;
};
TempDir* CliFolderChoiceTest::dir = nullptr;
ProcessResult* CliFolderChoiceTest::fetched = nullptr;

TEST_F(CliFolderChoiceTest, TextOutputWritesOutControlCharactersOfNames) {
  ASSERT_EQ(fetched->exitStatus, 0) << fetched->err;
  EXPECT_EQ(fetched->out,
            "Work\nWORK  [pass code]\nmain\ncustom\nÜnï\nDup\nDup\nTwo\\nLines\n"
            "Csi\\u009b31m\\x7f\nRlo\\u202efdp.exe\n");
}

TEST_P(CliFolderChoiceTest, PicksExactThenUniqueCaseThenWordThenRefuses) {
  ASSERT_EQ(fetched->exitStatus, 0) << fetched->err;
  std::vector<std::string> args = {"show", "--json", "--retention", "on"};
  args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
  const ProcessResult r = runCli(setup(), args);
  if (GetParam().index < 0) {
    EXPECT_EQ(r.exitStatus, 2) << r.err;
    EXPECT_NE(r.err.find(GetParam().message), std::string::npos) << r.err;
    return;
  }
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(parseJsonOutput(r)["controls"]["folderSelectionPopup"]["selectedIndex"],
            GetParam().index);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, CliFolderChoiceTest,
    ::testing::Values(
        FolderCase{"exact beside another case", {"--folder", "Work"}, 3},
        FolderCase{"exact upper case", {"--folder", "WORK"}, 4},
        FolderCase{"a printer folder named main", {"--folder", "main"}, 5},
        FolderCase{"a printer folder named custom", {"--folder", "custom"}, 6},
        FolderCase{"one match ignoring case", {"--folder", "MAIN"}, 5},
        FolderCase{"one match ignoring case beyond ASCII", {"--folder", "üNÏ"}, 7},
        FolderCase{"the word quick", {"--folder", "quick"}, 0},
        FolderCase{"an index", {"--folder-index", "9"}, 9},
        FolderCase{"an index of a fixed item", {"--folder-index", "1"}, 1},
        FolderCase{"two matches ignoring case",
                   {"--folder", "work"},
                   -1,
                   "more than one printer folder has this name: \"Work\" (--folder-index 3), "
                   "\"WORK\" (--folder-index 4); choose one with --folder-index"},
        FolderCase{"two of one name", {"--folder", "Dup"}, -1, "(--folder-index 9)"},
        FolderCase{"no such folder", {"--folder", "Nope"}, -1, "has no folder of that name"},
        FolderCase{"the separator", {"--folder-index", "2"}, -1, "has no such item"},
        FolderCase{"past the last item", {"--folder-index", "99"}, -1, "has no such item"},
        FolderCase{"not a number", {"--folder-index", "x"}, -1, "takes an item's position"}),
    NameFromWhat());

TEST(FolderChoiceTest, TwoOfOneNameTakeTheWordThatNamesThem) {
  const std::vector<cli::FolderItem> folders = {{3, u"Main"}, {4, u"MAIN"}};
  EXPECT_EQ(cli::chooseFolder(folders, u"main").kind, cli::FolderChoice::Main);
  EXPECT_EQ(cli::chooseFolder(folders, u"mAin").kind, cli::FolderChoice::Ambiguous);
  EXPECT_EQ(cli::chooseFolder({}, u"custom").kind, cli::FolderChoice::Custom);
}

struct FolderFailureCase {
  const char* what;
  PrinterSimulator::Options printer;
  std::string message;
};

PrinterSimulator::Options simulated(PrinterSimulator::Mode mode, int status = 200,
                                    std::string body = {}) {
  PrinterSimulator::Options options;
  options.mode = mode;
  options.status = status;
  options.body = std::move(body);
  return options;
}

// `folders` ends with status 3 and says what happened whenever the printer did
// not give its list.
TEST(CliFoldersStatusTest, SaysWhatHappenedAndExitsThreeWithoutAList) {
  using Mode = PrinterSimulator::Mode;
  const std::vector<FolderFailureCase> cases = {
      {"a refusal", simulated(Mode::Refusal),
       "refused the request (result code \"unsupported-operation\")"},
      {"an HTTP error", simulated(Mode::ServerError), "HTTP status 500"},
      {"a final 3xx", simulated(Mode::Custom, 304), "HTTP status 304"},
      {"no folder list", simulated(Mode::NoFiles), "is not a folder list"},
      {"not XML", simulated(Mode::Custom, 200, "<html>hello"),
       "answer is not a readable XML document"},
  };
  for (const FolderFailureCase& c : cases) {
    TempDir dir;
    const CliSetup setup = {.configHome = dir.path(),
                            .prefsDir = dir.path() / "prefs",
                            .environment = {{"XDG_RUNTIME_DIR", dir.path().string()}}};
    PrinterSimulator good;
    ASSERT_EQ(runCli(setup, {"folders", "--address", good.address()}).exitStatus, 0);
    PrinterSimulator printer(c.printer);
    const ProcessResult r = runCli(setup, {"folders", "--address", printer.address(), "--json"});
    EXPECT_EQ(r.exitStatus, 3) << c.what << ": " << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.what << ": " << r.err;
    EXPECT_TRUE(parseJsonOutput(r).contains("folderList")) << c.what;
  }
  TempDir dir;
  const ProcessResult empty = runCli({.configHome = dir.path()}, {"folders", "--address", ""});
  EXPECT_EQ(empty.exitStatus, 3) << empty.err;
}

// A preference save that fails is said, with its reason, and ends with status
// 4; the job's own output is still given.
TEST(CliPreferencesTest, AFailedPreferenceSaveIsSaidAndEndsWithFour) {
  TempDir dir;
  const std::filesystem::path job = dir.path() / "job.txt";
  writeFile(job, "text");
  const std::filesystem::path blockedLock = dir.path() / "blocked";
  std::filesystem::create_directories(blockedLock / "korvel.mfp.Sample_MFP.plist.lock");
  for (const std::filesystem::path& prefs : {std::filesystem::path("/proc/x"), blockedLock}) {
    const ProcessResult r =
        runCli({.configHome = dir.path(), .prefsDir = prefs},
               {"print", job.string(), "--user-name", "Bob", "--lock", "user-name", "--json"});
    EXPECT_EQ(r.exitStatus, 4) << prefs << ": " << r.err;
    EXPECT_NE(r.err.find("jobcontrol: the printer's preferences were not stored: "),
              std::string::npos)
        << r.err;
    EXPECT_EQ(parseJsonOutput(r)["job"]["sent"], false) << prefs;
  }
}

}  // namespace
}  // namespace jc::test
