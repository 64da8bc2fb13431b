// The command line speaks the user's language: messages, usage and the text
// output come from its own catalogue, chosen as the panel chooses its own;
// the JSON output is the same in every language.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/cli_run.h"
#include "support/temp_dir.h"

namespace jc::test {
namespace {

namespace fs = std::filesystem;

// The ways a user asks for Japanese; runCli starts from the C locale.
const std::vector<std::pair<const char*, Environment>> kJapanese = {
    {"LANG", {{"LC_ALL", std::nullopt}, {"LANG", "ja_JP.UTF-8"}}},
    {"LANGUAGE", {{"LANGUAGE", "ja"}}},
};

class CliLanguageTest : public ::testing::Test {
 protected:
  ProcessResult run(const Environment& language, std::vector<std::string> args) {
    Environment environment = language;
    environment["HOME"] = home_.path().string();
    return runCli({.configHome = home_.path(), .environment = environment}, args);
  }

  TempDir home_;
};

TEST_F(CliLanguageTest, RefusalsAndFailuresAreJapanese) {
  struct Case {
    std::vector<std::string> args;
    Environment extra;
    int status;
    std::string err;
  };
  const std::vector<Case> cases = {
      {{"show", "--retention", "on", "--passcode", "12a"},
       {},
       2,
       "jobcontrol: --passcode: その入力欄にはこの値を入力できません (\"パスコード\")\n"},
      {{"show", "--bogus"},
       {},
       2,
       "jobcontrol: 不明なオプションです: --bogus\n"
       "詳しくは 'jobcontrol --help' を実行してください。\n"},
      {{"show"},
       {{"JOBCONTROL_MODULE", "/nonexistent/jobcontrol-panel.so"}},
       1,
       "jobcontrol: パネルモジュールを読み込めません: /nonexistent/jobcontrol-panel.so: cannot "
       "open shared object file: No such file or directory\n"},
  };
  for (const auto& [how, language] : kJapanese) {
    for (const Case& c : cases) {
      Environment environment = language;
      environment.insert(c.extra.begin(), c.extra.end());
      const ProcessResult r = run(environment, c.args);
      EXPECT_EQ(r.exitStatus, c.status) << how << " " << c.args.back();
      EXPECT_EQ(r.err, c.err) << how;
      EXPECT_EQ(r.out, "") << how;
    }
  }
}

TEST_F(CliLanguageTest, HelpAndTextOutputAreJapanese) {
  for (const auto& [how, language] : kJapanese) {
    const ProcessResult help = run(language, {"--help"});
    EXPECT_EQ(help.exitStatus, 0) << how;
    EXPECT_EQ(help.out.rfind("使い方: jobcontrol [PRINTER] [--settings FILE]", 0), 0u)
        << how << ": " << help.out;

    const ProcessResult shown = run(language, {"show"});
    EXPECT_EQ(shown.exitStatus, 0) << how << ": " << shown.err;
    EXPECT_EQ(shown.out.substr(0, shown.out.find('\n')),
              "Sample_MFP のジョブコントロール (korvel.print.pde.vx418.JobControlKind)")
        << how;

    // The panel's notes on the standard job attributes, said by the host.
    const ProcessResult noted =
        run(language, {"--standard-attributes", "on", "show", "--account-number", "7"});
    EXPECT_NE(
        noted.out.find("\n注意: プリンターはアカウント番号 (job-account-id) を受け付けません。"
                       "アカウント番号は送信しません。\n"),
        std::string::npos)
        << how << ": " << noted.out;
  }
}

TEST_F(CliLanguageTest, JsonIsTheSameInEveryLanguage) {
  const fs::path document = home_.path() / "document.txt";
  std::ofstream(document) << "text\n";
  const std::vector<std::vector<std::string>> commands = {
      {"show", "--retention", "on", "--passcode", "123", "--json"},
      {"save", "--retention", "on", "--passcode", "123", "--user-name", "Tanaka", "--json"},
      {"print", document.string(), "--job-name", "Report", "--json"},
  };
  for (const auto& args : commands) {
    for (const auto& [how, language] : kJapanese) {
      // The entries carry the second the job was spooled in: English runs on
      // both sides, so that one of them shares the Japanese run's second.
      const ProcessResult before = run({}, args);
      const ProcessResult japanese = run(language, args);
      const ProcessResult after = run({}, args);
      ASSERT_EQ(before.exitStatus, 0) << before.err;
      EXPECT_EQ(japanese.exitStatus, 0) << how << ": " << japanese.err;
      EXPECT_EQ(japanese.out, japanese.out == after.out ? after.out : before.out)
          << how << " " << args.front();
    }
  }
  // What goes to a person still speaks the person's language; the field's
  // label is the panel's, which speaks English for the JSON.
  const ProcessResult refused =
      run(kJapanese.front().second, {"show", "--retention", "on", "--passcode", "12a", "--json"});
  EXPECT_EQ(refused.exitStatus, 2);
  EXPECT_EQ(refused.err,
            "jobcontrol: --passcode: その入力欄にはこの値を入力できません (\"Pass Code\")\n");
}

// Why the preferences were not stored is said in the user's language too; the
// paths and the system's reason stay as they are.
TEST_F(CliLanguageTest, AFailedPreferenceSaveIsJapanese) {
  const fs::path document = home_.path() / "document.txt";
  std::ofstream(document) << "text\n";
  const fs::path fileForFolder = home_.path() / "file";
  std::ofstream(fileForFolder) << "not a folder\n";
  const fs::path lock = home_.path() / "locked" / "korvel.mfp.Sample_MFP.plist.lock";
  fs::create_directories(lock);
  const std::vector<std::pair<fs::path, std::string>> cases = {
      {fileForFolder, "環境設定フォルダー " + fileForFolder.string() +
                          " を作成できないか、非公開にできません: File exists"},
      {lock.parent_path(),
       "環境設定のロック " + lock.string() + " を取得できません: Is a directory"},
  };
  for (const auto& [how, language] : kJapanese) {
    for (const auto& [prefs, reason] : cases) {
      const ProcessResult r =
          run(language, {"print", document.string(), "--prefs-dir", prefs.string()});
      EXPECT_EQ(r.exitStatus, 4) << how;
      EXPECT_EQ(r.err, "jobcontrol: プリンターの環境設定を記録できませんでした: " + reason + "\n")
          << how;
    }
  }
}

TEST_F(CliLanguageTest, EnglishWithoutACatalogueOrATranslation) {
  const std::string expected =
      "jobcontrol: --passcode: the field does not accept this value (\"Pass Code\")\n";
  const std::vector<std::string> args = {"show", "--retention", "on", "--passcode", "12a"};

  TempDir copy;
  const fs::path bundle = copy.path() / "jobcontrol";
  fs::copy(JC_BUILD_BUNDLE_DIR, bundle, fs::copy_options::recursive);
  fs::remove(bundle / "locale" / "ja" / "LC_MESSAGES" / "jobcontrol-cli.mo");

  const std::vector<std::pair<const char*, Environment>> englishCases = {
      {"C", {}},
      {"a language without a catalogue", {{"LC_ALL", std::nullopt}, {"LANG", "fr_FR.UTF-8"}}},
      {"Japanese without the catalogue",
       {{"LANGUAGE", "ja"}, {"JOBCONTROL_BUNDLE_DIR", bundle.string()}}},
  };
  for (const auto& [how, environment] : englishCases) {
    const ProcessResult r = run(environment, args);
    EXPECT_EQ(r.exitStatus, 2) << how;
    // The field's label is the panel's own, which keeps its language.
    const bool japanesePanel = environment.contains("JOBCONTROL_BUNDLE_DIR");
    EXPECT_EQ(r.err, japanesePanel ? std::string("jobcontrol: --passcode: the field does not "
                                                 "accept this value (\"パスコード\")\n")
                                   : expected)
        << how;
  }
}

}  // namespace
}  // namespace jc::test
