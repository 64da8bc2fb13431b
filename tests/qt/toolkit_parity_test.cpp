// The same user sequences played through the in-memory toolkit (as the
// command line plays them) and through Qt's real widgets end in the same
// control states and the same print-settings entries, on every layout.
#include <gtest/gtest.h>

#include <QApplication>
#include <fstream>

#include "hosts/cli/report.h"
#include "hosts/cli/user_actions.h"
#include "hosts/common/controls_json.h"
#include "hosts/headless/headless_toolkit.h"
#include "hosts/qt/qt_toolkit.h"
#include "qt/qt_user_player.h"
#include "qt/toolkit_panel.h"

namespace jc::test {
namespace {

struct Sequence {
  const char* name;
  std::vector<cli::UserAction> actions;
};

std::vector<Sequence> sequences(const std::string& passwordFile) {
  return {
      {"Opened", {}},
      {"HeldWithPassCode",
       {{"--retention", "on"},
        {"--hold-mode", "hold-after-print"},
        {"--passcode", "1234"},
        {"--lock", "passcode"}}},
      {"SamplePrintThenOff",
       {{"--retention", "on"},
        {"--hold-mode", "sample-print"},
        {"--passcode", "98765"},
        {"--retention", "off"}}},
      {"FiledInMainFolder",
       {{"--retention", "on"},
        {"--folder", "main"},
        {"--folder-passcode", "55"},
        {"--lock", "folder-passcode"}}},
      {"FiledQuickThenCustom",
       {{"--retention", "on"},
        {"--folder", "quick"},
        {"--folder", "custom"},
        {"--folder-name", "Proj"},
        {"--lock", "folder-name"}}},
      {"LoginAndPassword",
       {{"--auth", "login"},
        {"--login-name", "alice"},
        {"--password-file", passwordFile},
        {"--lock", "login-name"},
        {"--lock", "password"}}},
      {"UserNumberAndJobNames",
       {{"--auth", "user-number"},
        {"--user-number", "42"},
        {"--account-number", "777"},
        {"--user-name", "Bob"},
        {"--job-name", "Report"},
        {"--lock", "user-name"},
        {"--lock", "job-name"},
        {"--lock", "account-number"}}},
      {"AuthenticationSwitchedBack",
       {{"--auth", "user-number"}, {"--user-number", "9"}, {"--auth", "login"}}},
      {"Address", {{"--address", "192.0.2.7"}, {"--lock", "user-name"}, {"--unlock", "user-name"}}},
  };
}

// What both toolkits must agree on.
nlohmann::json dump(View& view, const PrintSettings& settings) {
  nlohmann::ordered_json out;
  out["controls"] = controlsJson(view);
  out["focus"] = focusJson(view);
  out["printSettings"] = cli::printSettingsJson(settings);
  return nlohmann::json::parse(out.dump());
}

class ToolkitParityTest : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override { std::ofstream(passwordFile_.path() / "pw") << "s3cret\n"; }

  nlohmann::json playHeadless(const Sequence& s) {
    HeadlessToolkit kit;
    ToolkitPanel p(kit, GetParam());
    auto& view = dynamic_cast<HeadlessView&>(p.open());
    for (const cli::UserAction& a : s.actions) {
      try {
        cli::applyUserActions({a}, view);
      } catch (const cli::RefusedAction&) {
        // A layout without the control, or a greyed one: the user cannot.
      }
    }
    p.panel->saveValuesAndReturnError(nullptr);
    return dump(view, p.host.settings);
  }

  nlohmann::json playQt(const Sequence& s) {
    qt::QtToolkit kit;
    ToolkitPanel p(kit, GetParam());
    auto& view = dynamic_cast<qt::QtView&>(p.open());
    QWidget* root = view.rootWidget();
    root->show();
    root->activateWindow();
    QApplication::processEvents();
    QtUserPlayer player(view);
    for (const cli::UserAction& a : s.actions) player.play(a);
    player.showFirstTab();
    p.panel->saveValuesAndReturnError(nullptr);
    return dump(view, p.host.settings);
  }

  TempDir passwordFile_;
};

TEST_P(ToolkitParityTest, SameSequencesEndInTheSameStateAndEntries) {
  const auto all = sequences((passwordFile_.path() / "pw").string());
  const nlohmann::json opened = playHeadless(all.front());
  int changed = 0;
  for (const Sequence& s : all) {
    SCOPED_TRACE(s.name);
    const nlohmann::json headless = playHeadless(s);
    const nlohmann::json qt = playQt(s);
    if (headless != opened) ++changed;
    EXPECT_EQ(nlohmann::json::diff(headless, qt).dump(1), "[]");
    EXPECT_EQ(qt.dump(), headless.dump());
  }
  // Most sequences leave a mark on every layout (a few undo themselves or
  // need controls a layout lacks).
  EXPECT_GE(changed, 5);
}

INSTANTIATE_TEST_SUITE_P(EveryLayout, ToolkitParityTest, ::testing::Values(1, 2, 3, 4, 5),
                         [](const auto& info) {
                           return "JobControl" + std::to_string(info.param);
                         });

}  // namespace
}  // namespace jc::test
