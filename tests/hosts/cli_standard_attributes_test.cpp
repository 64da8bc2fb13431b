// jobcontrol --standard-attributes: the plan in the report, a PIN masked.
// (The notes as text: the language test; a bad mode: the refusals table.)
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "hosts/cli/report.h"
#include "support/case_names.h"
#include "support/cli_run.h"
#include "support/temp_dir.h"

namespace jc::test {
namespace {

const std::vector<std::string> kHeldJob = {
    "--retention", "on",          "--hold-mode",   "hold-only", "--passcode",       "13579",
    "--auth",      "user-number", "--user-number", "42",        "--account-number", "777"};

struct ModeCase {
  const char* what;
  std::vector<std::string> option;
  const char* mode;
  std::vector<std::string> notes;
};
void PrintTo(const ModeCase& c, std::ostream* os) { *os << c.what; }

class CliStandardAttributesTest : public testing::TestWithParam<ModeCase> {};

// The bundled sample printer is no CUPS queue: auto leaves it out, on maps
// onto no capabilities at all and so only explains.
TEST_P(CliStandardAttributesTest, SaveReportsThePlan) {
  TempDir dir;
  std::vector<std::string> args = GetParam().option;
  args.push_back("save");
  args.insert(args.end(), kHeldJob.begin(), kHeldJob.end());
  args.push_back("--json");
  const ProcessResult run = runCli({.configHome = dir.path(), .prefsDir = dir.path()}, args);
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  const nlohmann::json out = parseJsonOutput(run);
  const nlohmann::json expected = {{"mode", GetParam().mode},
                                   {"options", nlohmann::json::object()},
                                   {"notes", GetParam().notes}};
  EXPECT_EQ(out["standardAttributes"], expected);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, CliStandardAttributesTest,
    testing::Values(
        ModeCase{"default is auto", {}, "auto", {}},
        ModeCase{"off", {"--standard-attributes", "off"}, "off", {}},
        ModeCase{"on without cups",
                 {"--standard-attributes=on"},
                 "on",
                 {"The printer takes no PIN (job-password): the pass code is not sent to it.",
                  "The printer takes no user number (job-accounting-user-id): it is not sent to "
                  "it.",
                  "The printer takes no account number (job-account-id): it is not sent to it."}}),
    NameFromWhat{});

TEST(CliStandardAttributesTest, ReportMasksThePin) {
  const StandardAttributePlan plan{
      {{"job-password", "1234"}, {"job-password-encryption", "none"}, {"job-account-id", "777"}},
      {Message("The printer's address is not ipps://: the PIN travels to it unencrypted.")}};
  const nlohmann::ordered_json shown =
      cli::standardAttributesJson(StandardAttributeMode::Auto, plan);
  EXPECT_EQ(shown.dump(),
            R"({"mode":"auto","options":{"job-password":"****","job-password-encryption":"none",)"
            R"("job-account-id":"777"},"notes":["The printer's address is not ipps://: the PIN )"
            R"(travels to it unencrypted."]})");
}

}  // namespace
}  // namespace jc::test
