#include "qt/toolkit_panel.h"

#include "prefs/domain_store.h"

namespace jc::test {

ToolkitPanel::ToolkitPanel(Toolkit& toolkit, int uiMode, const std::string& language)
    : host(toolkit) {
  env.bundle = testBundle(language);
  env.preferences = std::make_shared<FileDomainStore>(dir.path() / "prefs");
  env.clock = &clock;
  env.capabilities.uiMode = uiMode;
  env.systemEncoding = kCFStringEncodingMacRoman;
  env.fullUserName = u"Test User";
  env.systemVersionFile = dir.path() / "SystemVersion.plist";
  env.responseFile = dir.path() / "vwxyz.xml";
}

View& ToolkitPanel::open() {
  panel = std::make_unique<KorvelPrintPdeVx418JC>(&host, env);
  View* view = panel->panelView();
  panel->willShow();
  panel->restoreValuesAndReturnError(nullptr);
  return *view;
}

}  // namespace jc::test
