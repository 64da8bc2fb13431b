// The jobcontrol command run as a user runs it: the show command, help and refusals.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "hosts/headless/headless_toolkit.h"
#include "support/cli_run.h"
#include "support/panel_fixture.h"

namespace jc::test {
namespace {

class CliShowTest : public ::testing::Test {
 protected:
  // The command with a private configuration folder and home, and the C locale.
  ProcessResult run(const std::vector<std::string>& args) const {
    return runCli({.configHome = home.path(), .environment = {{"HOME", home.path().string()}}},
                  args);
  }
  std::filesystem::path domainFile(const std::string& printerID) const {
    return home.path() / "jobcontrol" / ("korvel.mfp." + printerID + ".plist");
  }

  TempDir home;
};

TEST_F(CliShowTest, JsonShowsTheEmbeddedDefaultPanel) {
  const ProcessResult r = run({"show", "--json"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const auto out = nlohmann::ordered_json::parse(r.out);

  const auto& panel = out.at("panel");
  EXPECT_EQ(panel.at("name"), "Job Control");
  EXPECT_EQ(panel.at("kind"), "korvel.print.pde.vx418.JobControlKind");
  EXPECT_EQ(panel.at("hasInited"), true);
  EXPECT_EQ(panel.at("callRestoreValuesFunction"), true);
  EXPECT_EQ(panel.at("callSaveValuesFunction"), false);
  EXPECT_EQ(panel.at("isPanelViewRetain"), false);

  // Every outlet of the default layout, in layout order, as the in-memory toolkit loads it.
  HeadlessToolkit toolkit;
  const auto layout =
      toolkit.loadHeadlessLayout(buildBundleFolder() / "layouts" / "JobControl2.ui", nullptr);
  ASSERT_NE(layout, nullptr) << toolkit.lastError();
  std::vector<std::string> shown;
  for (const auto& [name, control] : out.at("controls").items()) shown.push_back(name);
  EXPECT_EQ(shown, layout->outletNames());

  const auto& controls = out.at("controls");
  EXPECT_EQ(controls.at("printersAddressEditText").at("text"), "localhost");
  EXPECT_EQ(controls.at("retentionCheckBox").at("state"), 0);
  EXPECT_EQ(controls.at("retentionCheckBox").at("text"), "Retention");
  EXPECT_EQ(out.at("summary").at("Retention"), "Off");
  EXPECT_TRUE(out.at("printSettings").empty());  // show saves nothing
  EXPECT_TRUE(std::filesystem::exists(domainFile("Sample_MFP")));
}

TEST_F(CliShowTest, TakesThePrinterFromTheCommandLine) {
  const ProcessResult r =
      run({"--ppd", samplePpdPath().string(), "--device-uri", "ipp://mfp.example.com/ipp/print",
           "--printer-id", "Office", "show", "--json"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  const auto out = nlohmann::json::parse(r.out);
  EXPECT_EQ(out.at("controls").at("printersAddressEditText").at("text"), "mfp.example.com");
  EXPECT_TRUE(std::filesystem::exists(domainFile("Office")));
}

TEST_F(CliShowTest, PlainShowNamesThePanelAndItsPrinter) {
  const ProcessResult r = run({"show"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')),
            "Job Control (korvel.print.pde.vx418.JobControlKind) for Sample_MFP");
  EXPECT_NE(r.out.find("printersAddressEditText (editField) \"localhost\""), std::string::npos);
}

TEST_F(CliShowTest, HelpExitsZero) {
  const ProcessResult r = run({"--help"});
  EXPECT_EQ(r.exitStatus, 0);
  EXPECT_EQ(r.out.rfind("Usage: jobcontrol", 0), 0u) << r.out;
  EXPECT_EQ(r.err, "");
}

TEST_F(CliShowTest, RefusesBadCommandLinesWithAMessageAndWritesNothing) {
  const std::string missing = (home.path() / "missing.ppd").string();
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const Case cases[] = {
      {{"show", "--frobnicate"}, "unknown option --frobnicate"},
      {{"--ppd", missing, "show"}, missing},
      {{"--json"}, "no command given"},
      {{"show", "--ppd"}, "--ppd needs a value"},
  };
  for (const Case& c : cases) {
    const ProcessResult r = run(c.args);
    EXPECT_EQ(r.exitStatus, 2) << c.message;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "") << c.message;
  }
  EXPECT_FALSE(std::filesystem::exists(home.path() / "jobcontrol"));
}

}  // namespace
}  // namespace jc::test
