// `jobcontrol save` end to end: the real binary, a private preferences folder,
// the entries it prints and the settings file it reads and writes back.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/cli_run.h"
#include "support/file_text.h"
#include "support/openssl_reference.h"
#include "support/panel_fixture.h"

namespace jc::test {
namespace {

const std::string kPrefix = "korvel.print.PrintSettings.";

// Runs the command line in `dir` with its own configuration folder and the
// C locale (Mac Roman as the system encoding).
ProcessResult runIn(const TempDir& dir, const std::vector<std::string>& args) {
  return runCli({.configHome = dir.path(), .prefsDir = dir.path() / "prefs"}, args);
}

// The spool time text back from its hex entry.
std::string spoolTimeOf(const nlohmann::json& entries) {
  const std::string hex = entries.at(kPrefix + "spoolTime").get<std::string>();
  std::string text;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    text += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return text;
}

nlohmann::json ourEntries(const nlohmann::json& all) {
  nlohmann::json ours = nlohmann::json::object();
  for (const auto& [k, v] : all.items())
    if (k.rfind(kPrefix, 0) == 0) ours[k.substr(kPrefix.size())] = v;
  return ours;
}

TEST(CliSaveTest, DefaultPanelPrintsItsEntries) {
  TempDir dir;
  const ProcessResult run = runIn(dir, {"--title", "Report", "save", "--json"});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  const nlohmann::json all = nlohmann::json::parse(run.out).at("printSettings");
  const nlohmann::json ours = ourEntries(all);
  const std::string T = spoolTimeOf(all);
  EXPECT_TRUE(T.size() == 30 || T.size() == 31) << T;
  EXPECT_EQ(T[3], ',') << T;
  EXPECT_EQ(ours.at("spoolTime"), upperHex(T));
  EXPECT_EQ(ours.at("filing"), "0");  // the sample printer has no storage
  EXPECT_EQ(ours.at("jobSuspend"), "0");
  EXPECT_EQ(ours.at("Authentication"), "1");
  EXPECT_EQ(ours.at("holdButton"), "0");
  EXPECT_EQ(ours.at("jobName"), upperHex("Report"));
  EXPECT_EQ(ours.at("jobName2"), upperHex("Report"));
  for (const char* absent : {"folderPath", "jobSuspendKey", "loginName11", "loginName01",
                             "password", "userNumber", "accountNumber", "folderPassword"})
    EXPECT_FALSE(ours.contains(absent)) << absent;
}

TEST(CliSaveTest, TypedValuesReachTheEntries) {
  TempDir dir;
  writeFile(dir.path() / "password", "pa55word\nsecond line\n");
  const ProcessResult run =
      runIn(dir, {"save", "--retention", "on", "--hold-mode", "sample-print", "--passcode", "123",
                  "--login-name", "operator", "--password-file", (dir.path() / "password").string(),
                  "--account-number", "31415", "--user-name", "Ann \"A\"", "--json"});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.out.find("pa55word"), std::string::npos);
  const nlohmann::json all = nlohmann::json::parse(run.out).at("printSettings");
  const nlohmann::json ours = ourEntries(all);
  const std::string T = spoolTimeOf(all);
  EXPECT_EQ(ours.at("folderPath"), "2A7374616E64617264");
  EXPECT_EQ(ours.at("jobSuspend"), "3");
  EXPECT_EQ(ours.at("jobSuspendKey"), md5Hex("00123" + T));
  EXPECT_EQ(ours.at("jobSuspend2Key"), fixedKeyHex("123", 16));
  EXPECT_EQ(ours.at("loginName11"), base64(aesFixedKey("operator")));
  EXPECT_EQ(ours.at("loginName01"), base64(aesSpoolKey(T, "operator")));
  EXPECT_EQ(ours.at("password"), base64(aesSpoolKey(T, "pa55word")));
  EXPECT_EQ(ours.at("password2"), fixedKeyHex("pa55word", 32));
  EXPECT_EQ(ours.at("accountNumber"), "31415");
  EXPECT_EQ(ours.at("accountNumber2"), fixedKeyHex("31415", 16));
  EXPECT_EQ(ours.at("userName"), upperHex("Ann \"A\""));
  EXPECT_EQ(ours.at("userName2"), upperHex("Ann  A "));
}

TEST(CliSaveTest, SettingsFileIsReadBeforeRestoreAndWrittenBackAfterSave) {
  TempDir dir;
  const std::filesystem::path file = dir.path() / "job.json";
  const nlohmann::json before = {{kPrefix + "jobSuspend", "1"},
                                 {kPrefix + "jobSuspend2Key", fixedKeyHex("4321", 16)},
                                 {kPrefix + "loginName11", base64(aesFixedKey("operator"))},
                                 {kPrefix + "loginName12", "stale"},
                                 {"copies", "2"}};
  writeFile(file, before.dump());
  const ProcessResult run = runIn(dir, {"--settings", file.string(), "save", "--json"});
  ASSERT_EQ(run.exitStatus, 0) << run.err;

  const nlohmann::json written = nlohmann::json::parse(readFile(file));
  EXPECT_EQ(written, nlohmann::json::parse(run.out).at("printSettings"));
  EXPECT_EQ(std::filesystem::status(file).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  const nlohmann::json ours = ourEntries(written);
  const std::string T = spoolTimeOf(written);
  EXPECT_EQ(written.at("copies"), "2");
  EXPECT_EQ(ours.at("jobSuspend"), "1");  // restored into row 1, saved from it
  EXPECT_EQ(ours.at("jobSuspend2Key"), fixedKeyHex("4321", 16));
  EXPECT_EQ(ours.at("jobSuspendKey"), md5Hex("04321" + T));
  EXPECT_EQ(ours.at("loginName11"), base64(aesFixedKey("operator")));
  EXPECT_FALSE(ours.contains("loginName12"));
}

TEST(CliSaveTest, MissingSettingsFileIsCreated) {
  TempDir dir;
  const std::filesystem::path file = dir.path() / "new.json";
  const ProcessResult run = runIn(dir, {"--settings", file.string(), "save"});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  const nlohmann::json written = nlohmann::json::parse(readFile(file));
  EXPECT_EQ(written.at(kPrefix + "jobSuspend"), "0");
}

TEST(CliSaveTest, MalformedSettingsFileEndsWithStatus2AndStaysUntouched) {
  for (const std::string text :
       {"{\"copies\": \"2\"", "[\"a\", \"b\"]", "{\"copies\": 2}", "{\"a\": {\"b\": \"c\"}}", ""}) {
    TempDir dir;
    const std::filesystem::path file = dir.path() / "job.json";
    writeFile(file, text);
    const auto modified = std::filesystem::last_write_time(file);
    const ProcessResult run = runIn(dir, {"--settings", file.string(), "save", "--json"});
    EXPECT_EQ(run.exitStatus, 2) << text;
    EXPECT_NE(run.err.find("jobcontrol:"), std::string::npos) << text;
    EXPECT_EQ(run.out, "") << text;
    EXPECT_EQ(readFile(file), text);
    EXPECT_EQ(std::filesystem::last_write_time(file), modified) << text;
    // The command's output is captured elsewhere: only these two may be here.
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
      const auto name = entry.path().filename();
      EXPECT_TRUE(name == "job.json" || name == "prefs")
          << "a temporary file was left: " << name << " after " << text;
    }
  }
}

// A JSON object of `size` bytes.
std::string settingsOfSize(std::size_t size) {
  const std::string head = "{\"pad\": \"";
  return head + std::string(size - head.size() - 2, 'p') + "\"}";
}

// Only a regular file of at most 1 MiB is read as the settings: a FIFO does
// not hang the command, /dev/zero does not fill its memory.
TEST(CliSaveTest, SettingsFileMustBeARegularFileOfAtMostOneMebibyte) {
  TempDir dir;
  const std::filesystem::path fifo = dir.path() / "fifo.json";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  writeFile(dir.path() / "big.json", settingsOfSize(1024 * 1024 + 1));
  writeFile(dir.path() / "limit.json", settingsOfSize(1024 * 1024));
  const struct {
    std::filesystem::path file;
    int status;
    std::string message;
  } cases[] = {
      {fifo, 2, "the settings file " + fifo.string() + " is not a regular file"},
      {"/dev/zero", 2, "the settings file /dev/zero is not a regular file"},
      {dir.path(), 2, "is not a regular file"},
      {dir.path() / "big.json", 2, "is larger than 1 MiB"},
      {dir.path() / "limit.json", 0, ""},
  };
  for (const auto& c : cases) {
    const ProcessResult run = runIn(dir, {"--settings", c.file.string(), "show"});
    EXPECT_EQ(run.exitStatus, c.status) << c.file << ": " << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
}

}  // namespace
}  // namespace jc::test
