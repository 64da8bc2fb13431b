// jobcontrol-dialog's command line: help, version, wrong options and files,
// a refused module, and the picture it draws off screen.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <iostream>

#include "support/file_text.h"
#include "support/process_runner.h"
#include "support/temp_dir.h"

namespace jc::test {
namespace {

ProcessResult runDialog(const std::vector<std::string>& args,
                        std::map<std::string, std::optional<std::string>> env = {}) {
  std::vector<std::string> argv = {JC_DIALOG_PATH};
  argv.insert(argv.end(), args.begin(), args.end());
  env.emplace("QT_QPA_PLATFORM", "offscreen");
  env.emplace("JOBCONTROL_MODULE", std::nullopt);
  env.emplace("JOBCONTROL_BUNDLE_DIR", std::nullopt);
  return runProcess(argv, env);
}

TEST(DialogCommandTest, ExitStatusesAndMessages) {
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* says;  // in stdout for 0, in stderr otherwise
  };
  const Case cases[] = {
      {{"--help"}, 0, "Usage: jobcontrol-dialog"},
      {{"--version"}, 0, "plug-in interface version"},
      {{"--bogus"}, 2, "unknown option --bogus"},
      {{"--printer"}, 2, "--printer needs a value"},
      {{"--screenshot", "x.png", "--tab", "two"}, 2, "--tab takes a number"},
      {{"--standard-attributes=always"},
       2,
       "--standard-attributes takes auto, on or off, not always"},
      {{"/nonexistent/report.pdf"}, 2, "no file to print at /nonexistent/report.pdf"},
      {{"--printer", "NoSuchQueue_JobControl", "--screenshot", "x.png"}, 2, "NoSuchQueue"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.front());
    const ProcessResult run = runDialog(c.args);
    EXPECT_EQ(run.exitStatus, c.status) << run.err;
    EXPECT_NE((c.status == 0 ? run.out : run.err).find(c.says), std::string::npos)
        << run.out << run.err;
  }
}

TEST(DialogCommandTest, SpeaksTheUsersLanguageAndNeedsADisplay) {
  const ProcessResult help = runDialog({"--help"}, {{"LANGUAGE", "ja"}});
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_EQ(help.out.rfind("使い方: jobcontrol-dialog", 0), 0u) << help.out;
  const ProcessResult wrong = runDialog({"--tab", "x"}, {{"LANGUAGE", "ja"}});
  EXPECT_EQ(wrong.exitStatus, 2);
  EXPECT_EQ(wrong.err,
            "jobcontrol-dialog: --tab には 0 以上の数を指定してください\n"
            "詳しくは 'jobcontrol-dialog --help' を実行してください。\n");
  const ProcessResult noDisplay = runDialog({}, {{"QT_QPA_PLATFORM", std::nullopt},
                                                 {"DISPLAY", std::nullopt},
                                                 {"WAYLAND_DISPLAY", std::nullopt},
                                                 {"LANGUAGE", "en"}});
  EXPECT_EQ(noDisplay.exitStatus, 1);
  EXPECT_EQ(noDisplay.err.rfind("jobcontrol-dialog: no display to open the dialog on", 0), 0u)
      << noDisplay.err;
}

// The picture is the window as it opens, options shown, on a 1280x800 screen.
TEST(DialogCommandTest, WindowFitsA1280By800Screen) {
  TempDir dir;
  const std::filesystem::path config = dir.path() / "screen.json";
  writeFile(config,
            R"({"screens": [{"name": "laptop", "x": 0, "y": 0, "width": 1280, "height": 800}]})");
  const std::filesystem::path file = dir.path() / "window.png";
  const ProcessResult run =
      runDialog({"--screenshot", file.string(), "--prefs-dir", (dir.path() / "prefs").string()},
                {{"QT_QPA_PLATFORM", "offscreen:configfile=" + config.string()},
                 {"XDG_CONFIG_HOME", dir.path().string()},
                 {"LANGUAGE", "ja"}});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.err.find("propagateSizeHints"), std::string::npos) << run.err;
  const QImage window(QString::fromStdString(file.string()));
  ASSERT_FALSE(window.isNull());
  EXPECT_LE(window.width(), 1280);
  EXPECT_LE(window.height(), 800);
  std::cout << "window on a 1280x800 screen: " << window.width() << "x" << window.height() << "\n";
}

TEST(DialogCommandTest, ModuleOfAnotherInterfaceIsRefused) {
  TempDir dir;
  const ProcessResult run = runDialog(
      {"--screenshot", (dir.path() / "x.png").string()},
      {{"JOBCONTROL_MODULE", std::string(JC_FAKE_MODULE_DIR) + "/jc_fake_module_v999.so"}});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_NE(run.err.find("interface version 999"), std::string::npos) << run.err;
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "x.png"));
}

TEST(DialogCommandTest, ScreenshotDrawsTheChosenPageOfTheTab) {
  TempDir dir;
  const auto picture = [&](const char* tab, const char* language) {
    const std::filesystem::path file = dir.path() / (std::string(language) + tab + ".png");
    const ProcessResult run =
        runDialog({"--screenshot", file.string(), "--tab", tab, "--prefs-dir",
                   (dir.path() / "prefs").string()},
                  {{"LANGUAGE", language}, {"XDG_CONFIG_HOME", dir.path().string()}});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    return QImage(QString::fromStdString(file.string()));
  };
  const QImage first = picture("0", "en");
  const QImage second = picture("1", "en");
  const QImage japanese = picture("0", "ja");
  ASSERT_FALSE(first.isNull());
  EXPECT_GT(first.width(), 300);
  EXPECT_GT(first.height(), 400);
  EXPECT_NE(first, second);
  EXPECT_NE(first, japanese);
}

}  // namespace
}  // namespace jc::test
