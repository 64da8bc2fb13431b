// `jobcontrol` played as a user plays it: every action on the command line
// changes its control as a click or keystroke would; a refused value, an
// unknown choice or a disabled control ends the command with status 2 and
// nothing written; the password comes from a file or standard input and is
// never shown.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/case_names.h"
#include "support/cli_run.h"
#include "support/file_text.h"
#include "support/panel_fixture.h"
#include "support/printer_simulator.h"

namespace jc::test {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

class CliActionsTest : public ::testing::Test {
 protected:
  fs::path prefs() const { return dir.path() / "prefs"; }
  fs::path settings() const { return dir.path() / "settings.json"; }

  // The command with private preferences and settings, the C locale and
  // `input` on its standard input.
  ProcessResult run(std::vector<std::string> args, const std::string& input = {}) const {
    args.insert(args.begin(), {"--settings", settings().string()});
    return runCli({.configHome = dir.path(), .prefsDir = prefs()}, args, input);
  }

  // `show ARGS --json`, which must succeed.
  json show(std::vector<std::string> args, const std::string& input = {}) const {
    args.insert(args.begin(), {"--settings", settings().string()});
    return showJson({.configHome = dir.path(), .prefsDir = prefs()}, args, input);
  }

  // What the preference domain holds besides the model's name and release.
  std::vector<std::string> storedPreferenceKeys() const {
    std::vector<std::string> keys;
    const std::string text = readFile(prefs() / "korvel.mfp.Sample_MFP.plist");
    for (std::size_t at = text.find("<key>"); at != std::string::npos;
         at = text.find("<key>", at + 1)) {
      const std::size_t end = text.find("</key>", at);
      const std::string key = text.substr(at + 5, end - at - 5);
      if (key != "Job Control" && key != "Model Name" && key != "Release Number")
        keys.push_back(key);
    }
    return keys;
  }

  TempDir dir;
};

struct Check {
  std::string pointer;
  json value;
};

struct ActionCase {
  const char* what;
  std::vector<std::string> args;
  std::vector<Check> checks;
};

void PrintTo(const ActionCase& c, std::ostream* os) { *os << c.what; }

class CliEachActionTest : public CliActionsTest,
                          public ::testing::WithParamInterface<ActionCase> {};

TEST_P(CliEachActionTest, ChangesItsControlAsTheUserWould) {
  const json out = show(GetParam().args);
  ASSERT_FALSE(out.is_discarded());
  ASSERT_TRUE(out.contains("focus"));
  for (const Check& c : GetParam().checks)
    EXPECT_EQ(out.value(json::json_pointer(c.pointer), json()), c.value) << c.pointer;
}

const std::string kBullets5 = "\u2022\u2022\u2022\u2022\u2022";

INSTANTIATE_TEST_SUITE_P(
    Actions, CliEachActionTest,
    ::testing::Values(
        ActionCase{"retention on",
                   {"--retention", "on"},
                   {{"/controls/retentionCheckBox/state", 1},
                    {"/controls/suspendMatrix/enabled", true},
                    {"/controls/folderSelectionPopup/enabled", true}}},
        ActionCase{
            "retention on and off again",
            {"--retention", "on", "--retention", "off"},
            {{"/controls/retentionCheckBox/state", 0}, {"/controls/suspendMatrix/enabled", false}}},
        ActionCase{"hold mode",
                   {"--retention", "on", "--hold-mode", "sample-print"},
                   {{"/controls/suspendMatrix/selectedRow", 2},
                    {"/controls/samplePrintRadioButton/state", 1},
                    {"/controls/holdOnlyRadioButton/state", 0}}},
        ActionCase{
            "pass code",
            {"--retention", "on", "--passcode", "00123"},
            {{"/controls/suspendKeyEditText/text", "00123"}, {"/focus", "suspendKeyEditText"}}},
        ActionCase{"quick file",
                   {"--retention", "on", "--hold-mode", "hold-only", "--folder", "quick"},
                   {{"/controls/folderSelectionPopup/selectedIndex", 0},
                    {"/controls/folderSelectionPopup/text", "Quick File"},
                    {"/controls/suspendMatrix/selectedRow", 1},
                    {"/controls/suspendKeyEditText/enabled", false}}},
        ActionCase{"main folder after quick file",
                   {"--retention", "on", "--folder", "quick", "--folder", "main"},
                   {{"/controls/folderSelectionPopup/selectedIndex", 1},
                    {"/controls/suspendKeyEditText/enabled", true}}},
        ActionCase{"user-number mode",
                   {"--login-name", "alice", "--auth", "user-number"},
                   {{"/controls/authenticationMatrix/selectedRow", 1},
                    {"/controls/loginNameEditText/text", ""},
                    {"/controls/loginNameEditText/enabled", false},
                    {"/focus", "userNumberEditText"}}},
        ActionCase{
            "login name",
            {"--login-name", "alice"},
            {{"/controls/loginNameEditText/text", "alice"}, {"/focus", "loginNameEditText"}}},
        ActionCase{"user number",
                   {"--auth", "user-number", "--user-number", "4711"},
                   {{"/controls/userNumberEditText/text", "4711"}}},
        ActionCase{"account number",
                   {"--account-number", "99"},
                   {{"/controls/accountNumberEditText/text", "99"}}},
        ActionCase{"user name",
                   {"--user-name", "Ann \u00C9xample"},
                   {{"/controls/userNameEditText/text", "Ann \u00C9xample"}}},
        ActionCase{"job name",
                   {"--job-name", "Report"},
                   {{"/controls/jobNameEditText/text", "Report"}, {"/focus", "jobNameEditText"}}},
        ActionCase{"address",
                   {"--address", "192.0.2.7:8080"},
                   {{"/controls/printersAddressEditText/text", "192.0.2.7:8080"}}},
        ActionCase{"login name held",
                   {"--login-name", "alice", "--lock", "login-name"},
                   {{"/controls/loginNameButton/state", 1},
                    {"/controls/loginNameEditText/text", kBullets5},
                    {"/controls/loginNameEditText/enabled", false}}},
        ActionCase{"login name released",
                   {"--login-name", "alice", "--lock", "login-name", "--unlock", "login-name"},
                   {{"/controls/loginNameButton/state", 0},
                    {"/controls/loginNameEditText/text", ""},
                    {"/controls/loginNameEditText/enabled", true}}},
        ActionCase{"pass code held",
                   {"--retention", "on", "--passcode", "1", "--lock", "passcode"},
                   {{"/controls/suspendKeyButton/state", 1},
                    {"/controls/suspendKeyEditText/text", "1"},
                    {"/controls/suspendKeyEditText/enabled", false}}},
        ActionCase{"user number held",
                   {"--auth", "user-number", "--lock", "user-number"},
                   {{"/controls/userNumberButton/state", 1},
                    {"/controls/userNumberEditText/enabled", false}}},
        ActionCase{"identification held and one released",
                   {"--lock", "account-number", "--lock", "user-name", "--lock", "job-name",
                    "--lock", "password", "--unlock", "user-name"},
                   {{"/controls/accountNumberEditText/enabled", false},
                    {"/controls/jobNameEditText/enabled", false},
                    {"/controls/passwordEditText/enabled", false},
                    {"/controls/userNameButton/state", 0},
                    {"/controls/userNameEditText/enabled", true}}}),
    NameFromWhat());

TEST_F(CliActionsTest, PlainShowAndJsonShowTheFocus) {
  const json out = show({});
  ASSERT_TRUE(out.contains("focus"));
  EXPECT_TRUE(out["focus"].is_null() || out["focus"].is_string());
  EXPECT_TRUE(out["controls"].contains("passwordEditText"));
  EXPECT_EQ(show({"--user-name", "x"})["focus"], "userNameEditText");
}

TEST_F(CliActionsTest, PasswordComesFromAFileOrStandardInputAndIsNeverShown) {
  const std::string secret = "S3cr#t!";
  writeFile(dir.path() / "pw", secret + "\r\nsecond line\n");
  const std::string file = (dir.path() / "pw").string();
  for (const bool asJson : {true, false}) {
    std::vector<std::string> args = {"save", "--password-file", file};
    if (asJson) args.push_back("--json");
    const ProcessResult r = run(args);
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out.find(secret), std::string::npos);
    EXPECT_EQ(r.err.find(secret), std::string::npos);
    EXPECT_NE(r.out.find("korvel.print.PrintSettings.password"), std::string::npos);
    if (asJson) {
      const auto out = json::parse(r.out);
      EXPECT_EQ(out["controls"]["passwordEditText"]["text"],
                "\u2022\u2022\u2022\u2022\u2022\u2022\u2022");  // the line, without CR LF
    }
  }
  EXPECT_EQ(readFile(settings()).find(secret), std::string::npos);

  const json out = show({"--password-stdin"}, "Zz9!\nnot this\n");
  EXPECT_EQ(out["controls"]["passwordEditText"]["text"], "\u2022\u2022\u2022\u2022");
  EXPECT_EQ(out.dump().find("Zz9"), std::string::npos);
  const ProcessResult plain = run({"show", "--password-stdin"}, "Zz9!\n");
  EXPECT_EQ(plain.exitStatus, 0) << plain.err;
  EXPECT_EQ(plain.out.find("Zz9"), std::string::npos);
}

struct SecretCase {
  const char* what;
  std::vector<std::string> args;
  std::string input;
  std::string field;
  std::string text;
};

// The pass codes too can come from a file or standard input, which other users
// cannot read as they read a command line.
TEST_F(CliActionsTest, PassCodesComeFromAFileOrStandardInput) {
  PrinterSimulator printer;
  ASSERT_EQ(run({"folders", "--address", printer.address()}).exitStatus, 0);
  writeFile(dir.path() / "code", "2468\r\nnot this\n");
  const std::string file = (dir.path() / "code").string();
  const std::vector<std::string> payroll = {"--retention", "on", "--folder", "payroll"};
  auto with = [&](std::vector<std::string> args, std::vector<std::string> more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
  };
  const std::vector<SecretCase> cases = {
      {"pass code file",
       {"--retention", "on", "--passcode-file", file},
       "",
       "suspendKeyEditText",
       "2468"},
      {"pass code input",
       {"--retention", "on", "--passcode-stdin"},
       "1357\n9\n",
       "suspendKeyEditText",
       "1357"},
      {"folder pass code file", with(payroll, {"--folder-passcode-file", file}), "",
       "folderPasswordEditText", "2468"},
      {"folder pass code input without a line end", with(payroll, {"--folder-passcode-stdin"}),
       "042", "folderPasswordEditText", "042"},
  };
  for (const SecretCase& c : cases)
    EXPECT_EQ(show(c.args, c.input)["controls"][c.field]["text"], c.text) << c.what;
}

// Refusals: a clear message, status 2, and neither the settings file nor any
// secret in the preferences is written.
struct RefusalCase {
  const char* what;
  std::vector<std::string> args;
  std::string message;
  std::string input = {};
};

void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.what; }

class CliRefusalTest : public CliActionsTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(CliRefusalTest, EndsWithStatus2AndWritesNothing) {
  const RefusalCase& c = GetParam();
  writeFile(dir.path() / "job.txt", "hello\n");
  for (const bool settingsExist : {false, true}) {
    const std::string before = "{\n  \"keep\": \"me\"\n}\n";
    fs::remove(settings());
    if (settingsExist) writeFile(settings(), before);
    std::vector<std::string> args = c.args;
    for (std::string& a : args)
      if (a == "JOB") a = (dir.path() / "job.txt").string();
    const ProcessResult r = run(args, c.input);
    EXPECT_EQ(r.exitStatus, 2) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    if (settingsExist)
      EXPECT_EQ(readFile(settings()), before);
    else
      EXPECT_FALSE(fs::exists(settings()));
    EXPECT_EQ(storedPreferenceKeys(), std::vector<std::string>{});
    const std::string secret = "Hunter2Hunter2Hunter2Hunter2Hunter2";
    EXPECT_EQ(r.err.find(secret), std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, CliRefusalTest,
    ::testing::Values(
        RefusalCase{"letter in the pass code",
                    {"save", "--retention", "on", "--passcode", "12a"},
                    "--passcode: the field does not accept this value"},
        RefusalCase{"pass code over the limit",
                    {"save", "--retention", "on", "--passcode", "123456"},
                    "--passcode: the field does not accept this value"},
        RefusalCase{"full-width digit",
                    {"save", "--auth", "user-number", "--user-number", "1\uFF12"},
                    "--user-number: the field does not accept this value"},
        RefusalCase{"pass code while retention is off",
                    {"save", "--passcode", "123"},
                    "--passcode: the field cannot be edited now"},
        RefusalCase{"no such folder",
                    {"save", "--retention", "on", "--folder", "NoSuch"},
                    "--folder NoSuch: the printer has no folder of that name"},
        RefusalCase{"no such hold mode",
                    {"save", "--retention", "on", "--hold-mode", "bogus"},
                    "--hold-mode takes hold-only, hold-after-print or sample-print"},
        RefusalCase{"hold mode while retention is off",
                    {"save", "--hold-mode", "hold-only"},
                    "--hold-mode hold-only: the control is disabled now"},
        RefusalCase{"pass code hold while retention is off",
                    {"save", "--lock", "passcode"},
                    "--lock passcode: the control is disabled now"},
        RefusalCase{"login name in user-number mode",
                    {"save", "--auth", "user-number", "--login-name", "x"},
                    "--login-name: the field cannot be edited now"},
        RefusalCase{"user number in login mode",
                    {"save", "--user-number", "1"},
                    "--user-number: the field cannot be edited now"},
        RefusalCase{"a held login name typed over",
                    {"save", "--lock", "login-name", "--login-name", "x"},
                    "--login-name: the field cannot be edited now"},
        RefusalCase{"custom folder in a pop-up layout",
                    {"save", "--retention", "on", "--folder", "custom"},
                    "--folder custom: this panel has no custom folder"},
        RefusalCase{"folder name in a pop-up layout",
                    {"save", "--folder-name", "Box"},
                    "--folder-name: this panel has no such control"},
        RefusalCase{"unknown field to lock", {"save", "--lock", "everything"}, "unknown field"},
        RefusalCase{"unknown standard-attribute mode",
                    {"--standard-attributes", "bogus", "save"},
                    "--standard-attributes takes auto, on or off, not bogus"},
        RefusalCase{"retention neither on nor off",
                    {"save", "--retention", "yes"},
                    "--retention takes on or off"},
        RefusalCase{"authentication mode unknown",
                    {"save", "--auth", "card"},
                    "--auth takes login or user-number"},
        RefusalCase{"missing password file",
                    {"save", "--password-file", "/nonexistent/pw"},
                    "cannot read the password file"},
        RefusalCase{"missing pass code file",
                    {"save", "--retention", "on", "--passcode-file", "/nonexistent/code"},
                    "cannot read the pass code file /nonexistent/code"},
        RefusalCase{"an endless pass code file",
                    {"save", "--retention", "on", "--passcode-file", "/dev/zero"},
                    "the pass code: the field does not accept this value"},
        RefusalCase{"a folder pass code from standard input for no protected folder",
                    {"save", "--retention", "on", "--folder-passcode-stdin"},
                    "the folder pass code: the field cannot be edited now",
                    "12a\n"},
        RefusalCase{"two options reading standard input",
                    {"save", "--password-stdin", "--retention", "on", "--passcode-stdin"},
                    "--password-stdin and --passcode-stdin cannot both read the standard input",
                    "Hunter2\n1234\n"},
        RefusalCase{"password over 31 characters, from standard input",
                    {"save", "--login-name", "a", "--password-stdin"},
                    "the password: the field does not accept this value",
                    "Hunter2Hunter2Hunter2Hunter2Hunter2\n"},
        RefusalCase{"a refusal before printing",
                    {"print", "JOB", "--password-stdin", "--lock", "password", "--retention", "on",
                     "--passcode", "9x"},
                    "--passcode: the field does not accept this value",
                    "Hunter2\n"}),
    NameFromWhat());

// The printer's folders, fetched once, are chosen by name in any case; the
// folder pass code can be typed only for a protected folder.
TEST_F(CliActionsTest, FoldersAreChosenByNameAfterTheyWereFetched) {
  PrinterSimulator printer;
  const ProcessResult fetched = run({"folders", "--address", printer.address()});
  ASSERT_EQ(fetched.exitStatus, 0) << fetched.err;

  const json out = show({"--retention", "on", "--folder", "payroll", "--folder-passcode", "042",
                         "--lock", "folder-passcode"});
  EXPECT_EQ(out["controls"]["folderSelectionPopup"]["selectedIndex"], 4);
  EXPECT_EQ(out["controls"]["folderSelectionPopup"]["text"], "Payroll");
  EXPECT_EQ(out["controls"]["folderSelectionPopup"]["items"][4]["icon"], "lock");
  EXPECT_EQ(out["controls"]["folderPasswordEditText"]["text"], "042");
  EXPECT_EQ(out["controls"]["folderPasswordEditText"]["enabled"], false);
  EXPECT_EQ(out["controls"]["folderPasswordButton"]["state"], 1);

  const ProcessResult refused =
      run({"save", "--retention", "on", "--folder", "Projects", "--folder-passcode", "1"});
  EXPECT_EQ(refused.exitStatus, 2);
  EXPECT_NE(refused.err.find("--folder-passcode: the field cannot be edited now"),
            std::string::npos)
      << refused.err;
  EXPECT_FALSE(fs::exists(settings()));

  const ProcessResult disabled = run({"save", "--folder", "Scans"});
  EXPECT_EQ(disabled.exitStatus, 2);
  EXPECT_NE(disabled.err.find("the control is disabled now"), std::string::npos) << disabled.err;
}

}  // namespace
}  // namespace jc::test
