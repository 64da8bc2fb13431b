#include "support/panel_fixture.h"

#include <gtest/gtest.h>
#include <stdlib.h>

namespace jc::test {

std::filesystem::path buildBundleFolder() { return JC_BUILD_BUNDLE_DIR; }
std::filesystem::path samplePpdPath() { return buildBundleFolder() / "printer" / "Sample_MFP.ppd"; }
std::filesystem::path testDataPath(const std::string& relative) {
  return std::filesystem::path(JC_TEST_DATA_DIR) / relative;
}

std::shared_ptr<DirectoryBundle> testBundle(const std::string& language) {
  return std::make_shared<DirectoryBundle>(buildBundleFolder(), language);
}

PpdPtr openPpd(const std::filesystem::path& file) {
  PpdPtr ppd(ppdOpenFile(file.c_str()));
  if (ppd) ppdMarkDefaults(ppd.get());
  return ppd;
}

TestHost::TestHost() : ppd(openPpd(samplePpdPath())) {}

PanelFixture::PanelFixture() {
  store_ = std::make_shared<FileDomainStore>(dir.path() / "prefs");
  env.bundle = testBundle();
  env.preferences = store_;
  env.clock = &clock;
  env.systemEncoding = kCFStringEncodingMacRoman;
  env.fullUserName = u"Test User";
  env.systemVersionFile = dir.path() / "SystemVersion.plist";
  env.responseFile = dir.path() / "vwxyz.xml";
}

KorvelPrintPdeVx418JC& PanelFixture::make() {
  panel = std::make_unique<KorvelPrintPdeVx418JC>(&host, env);
  return *panel;
}

KorvelPrintPdeVx418JC& PanelFixture::open() {
  make();
  panel->panelView();
  panel->willShow();
  panel->restoreValuesAndReturnError(nullptr);
  return *panel;
}

HeadlessView* PanelFixture::view() const {
  return panel ? dynamic_cast<HeadlessView*>(panel->panelView_.get()) : nullptr;
}

HeadlessControl& PanelFixture::control(const std::string& name) const {
  HeadlessControl* c = view() ? view()->control(name) : nullptr;
  if (!c) {
    ADD_FAILURE() << "no control " << name;
    static HeadlessControl missing(ControlKind::Other, "missing", "");
    return missing;
  }
  return *c;
}

}  // namespace jc::test
