// jobcontrol print end to end: what a print leaves for the next dialog of the
// same printer, and what it leaves alone.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/cli_run.h"
#include "support/file_text.h"
#include "support/panel_fixture.h"

namespace jc::test {
namespace {

namespace fs = std::filesystem;

// Runs of the command line with the preferences in `prefs`, its own
// configuration folder, the C locale and a umask that hides nothing, so that
// the modes of what it writes are its own choice.
struct PrintDir {
  TempDir dir;
  fs::path prefs = dir.path() / "prefs";
  fs::path document = dir.path() / "document.txt";
  fs::path passwordFile = dir.path() / "password";
  CliSetup setup{.configHome = dir.path() / "config", .prefsDir = prefs, .umask = 0};
  PrintDir() {
    writeFile(document, "Hello, printer.\n");
    writeFile(passwordFile, "pw-secret-9\n");
  }
  ProcessResult run(const std::vector<std::string>& args) const { return runCli(setup, args); }
  nlohmann::json controls(const std::vector<std::string>& args = {}) const {
    return showJson(setup, args).value("controls", nlohmann::json());
  }
};

// A field held at print, its hold box named alike: stem + "EditText", stem + "Button".
struct LockedField {
  std::string stem;
  std::vector<std::string> actions;
  std::string shown;  // UTF-8
  std::string field() const { return stem + "EditText"; }
  std::string box() const { return stem + "Button"; }
};
void PrintTo(const LockedField& c, std::ostream* os) { *os << c.box(); }

class CliPrintLockTest : public testing::TestWithParam<LockedField> {};

TEST_P(CliPrintLockTest, NextDialogShowsTheLockedValue) {
  PrintDir d;
  std::vector<std::string> args = {"print", d.document.string()};
  for (std::string a : GetParam().actions) {
    if (a == "PASSWORD_FILE") a = d.passwordFile.string();
    args.push_back(a);
  }
  const ProcessResult printed = d.run(args);
  ASSERT_EQ(printed.exitStatus, 0) << printed.err;
  EXPECT_EQ(printed.out.find("pw-secret-9"), std::string::npos);

  const nlohmann::json controls = d.controls();
  ASSERT_TRUE(controls.is_object());
  EXPECT_EQ(controls.at(GetParam().field()).at("text"), GetParam().shown);
  EXPECT_EQ(controls.at(GetParam().box()).at("state"), 1);

  // A dialog for another printer on the same preferences starts clean.
  const nlohmann::json other =
      d.controls({"--ppd", samplePpdPath().string(), "--printer-id", "Other_Queue"});
  ASSERT_TRUE(other.is_object());
  EXPECT_EQ(other.at(GetParam().box()).at("state"), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, CliPrintLockTest,
    testing::Values(
        LockedField{"userNumber",
                    {"--auth", "user-number", "--user-number", "42", "--lock", "user-number"},
                    "42"},
        LockedField{"suspendKey",
                    {"--retention", "on", "--passcode", "2468", "--lock", "passcode"},
                    "2468"},
        LockedField{"loginName", {"--login-name", "operator", "--lock", "login-name"}, "••••••••"},
        LockedField{
            "password", {"--password-file", "PASSWORD_FILE", "--lock", "password"}, "•••••••••••"},
        LockedField{
            "accountNumber", {"--account-number", "31415", "--lock", "account-number"}, "31415"},
        LockedField{"jobName", {"--job-name", "Résumé", "--lock", "job-name"}, "Résumé"}));

TEST(CliPrintTest, LockedAuthenticationModeComesBackWithTheUserNumber) {
  PrintDir d;
  const ProcessResult printed = d.run({"print", d.document.string(), "--auth", "user-number",
                                       "--user-number", "42", "--lock", "user-number"});
  ASSERT_EQ(printed.exitStatus, 0) << printed.err;
  const nlohmann::json controls = d.controls();
  EXPECT_EQ(controls.at("authenticationMatrix").at("selectedRow"), 1);
  // Unlocking in the next dialog and printing again stores no number.
  ASSERT_EQ(d.run({"print", d.document.string(), "--unlock", "user-number"}).exitStatus, 0);
  const nlohmann::json after = d.controls();
  EXPECT_EQ(after.at("userNumberButton").at("state"), 0);
  EXPECT_EQ(after.at("userNumberEditText").at("text"), "");
}

TEST(CliPrintTest, SaveThenShowWithTheSameSettingsShowsEveryValue) {
  const std::vector<std::vector<std::string>> sessions = {
      {"--retention", "on", "--hold-mode", "sample-print", "--passcode", "1234", "--login-name",
       "Jürgen", "--password-file", "PASSWORD_FILE", "--account-number", "777", "--user-name",
       "Zoë Åkesson", "--job-name", "Quarterly report", "--lock", "job-name"},
      {"--retention", "on", "--hold-mode", "hold-after-print", "--auth", "user-number",
       "--user-number", "00042", "--user-name", "Ann"}};
  for (const auto& actions : sessions) {
    PrintDir d;
    const fs::path settings = d.dir.path() / "job.json";
    std::vector<std::string> args = {"--settings", settings.string(), "save"};
    for (std::string a : actions)
      args.push_back(a == "PASSWORD_FILE" ? d.passwordFile.string() : a);
    args.push_back("--json");
    const ProcessResult saved = d.run(args);
    ASSERT_EQ(saved.exitStatus, 0) << saved.err;
    const nlohmann::json before = nlohmann::json::parse(saved.out).at("controls");

    // A new dialog on the saved job, with no preferences held.
    fs::remove_all(d.prefs);
    const nlohmann::json after = d.controls({"--settings", settings.string()});
    ASSERT_TRUE(after.is_object());
    for (const char* name :
         {"retentionCheckBox", "suspendMatrix", "suspendKeyEditText", "folderSelectionPopup",
          "authenticationMatrix", "loginNameEditText", "passwordEditText", "userNumberEditText",
          "accountNumberEditText", "userNameEditText", "jobNameEditText", "suspendKeyButton",
          "loginNameButton", "passwordButton", "userNumberButton", "accountNumberButton",
          "userNameButton", "jobNameButton", "folderPasswordButton"}) {
      const nlohmann::json& b = before.at(name);
      const nlohmann::json& a = after.at(name);
      for (const char* member : {"text", "state", "selectedRow", "selectedIndex"}) {
        if (b.contains(member)) {
          EXPECT_EQ(a.value(member, nlohmann::json()), b.at(member)) << name << "." << member;
        }
      }
    }
  }
}

TEST(CliPrintTest, PrintWithoutCupsDestinationSaysWhereAndPrintsTheEntries) {
  PrintDir d;
  const ProcessResult printed = d.run({"--title", "Minutes", "print", d.document.string()});
  ASSERT_EQ(printed.exitStatus, 0) << printed.err;
  const std::string firstLine = printed.out.substr(0, printed.out.find('\n'));
  EXPECT_NE(firstLine.find("\"Minutes\""), std::string::npos) << firstLine;
  EXPECT_NE(firstLine.find("Sample_MFP"), std::string::npos) << firstLine;
  EXPECT_NE(firstLine.find("socket://localhost:9100"), std::string::npos) << firstLine;
  EXPECT_NE(printed.out.find("\nkorvel.print.PrintSettings.holdButton=0\n"), std::string::npos);
  EXPECT_NE(printed.out.find("\nkorvel.print.PrintSettings.jobName="
                             "4D696E75746573"
                             "\n"),
            std::string::npos);

  const ProcessResult json = d.run({"print", d.document.string(), "--json"});
  ASSERT_EQ(json.exitStatus, 0) << json.err;
  const nlohmann::json out = nlohmann::json::parse(json.out);
  EXPECT_EQ(out.at("job").at("destination"), "Sample_MFP");
  EXPECT_EQ(out.at("job").at("deviceURI"), "socket://localhost:9100");
  EXPECT_EQ(out.at("job").at("sent"), false);
  EXPECT_EQ(out.at("printSettings").at("korvel.print.PrintSettings.jobSuspend"), "0");
}

TEST(CliPrintTest, MissingFileEndsWithStatus2AndWritesNothing) {
  PrintDir d;
  const fs::path settings = d.dir.path() / "job.json";
  const ProcessResult run =
      d.run({"--settings", settings.string(), "print", (d.dir.path() / "absent.txt").string(),
             "--user-number", "42", "--lock", "user-number"});
  EXPECT_EQ(run.exitStatus, 2);
  EXPECT_NE(run.err.find("absent.txt"), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_FALSE(fs::exists(settings));
  EXPECT_FALSE(fs::exists(d.prefs));
  EXPECT_FALSE(fs::exists(d.dir.path() / "config"));
}

TEST(CliPrintTest, PreferencesArePrivate) {
  PrintDir d;
  const ProcessResult printed =
      d.run({"print", d.document.string(), "--user-name", "Ann", "--lock", "user-name"});
  ASSERT_EQ(printed.exitStatus, 0) << printed.err;
  struct stat folder {};
  ASSERT_EQ(stat(d.prefs.c_str(), &folder), 0);
  EXPECT_EQ(folder.st_mode & 07777, 0700u);
  int files = 0;
  for (const auto& entry : fs::directory_iterator(d.prefs)) {
    struct stat file {};
    ASSERT_EQ(lstat(entry.path().c_str(), &file), 0);
    EXPECT_TRUE(S_ISREG(file.st_mode)) << entry.path();
    EXPECT_EQ(file.st_mode & 07777, 0600u) << entry.path();
    if (entry.path().filename() == "korvel.mfp.Sample_MFP.plist") ++files;
  }
  EXPECT_EQ(files, 1);
  EXPECT_NE(readFile(d.prefs / "korvel.mfp.Sample_MFP.plist").find("<string>Ann</string>"),
            std::string::npos);
}

}  // namespace
}  // namespace jc::test
