// A library that looks like the panel module but must be refused: built with
// or without the factory entry, and with another interface version, none, or
// a version that is data instead of a function; or of the host's own version
// with a factory that makes no usable panel.
#include <cstdlib>
#include <memory>

#include "plugin/print_dialog_extension.h"

#ifdef JC_FAKE_ENTRY
// A host that called this would end here: it must refuse the module first.
extern "C" __attribute__((visibility("default"))) jc::PDEPlugIn*
KorvelPrintPdeVx418JCPDEPlugInCreate() {
  std::abort();
}
#endif

#ifdef JC_FAKE_VERSION
extern "C" __attribute__((visibility("default"))) int jobcontrol_plugin_interface_version() {
  return JC_FAKE_VERSION;
}
#endif

#ifdef JC_FAKE_VERSION_DATA
// What a host that called this would run is the number's bytes.
extern "C" __attribute__((visibility("default"))) const int jobcontrol_plugin_interface_version =
    JC_FAKE_VERSION_DATA;
#endif

#ifdef JC_FAKE_FACTORY
// A module of this host's own interface version whose factory falls short of
// a panel with its view: none at all (0), no panel (1), a null panel (2), a
// panel without a view (3).
namespace {

class ViewlessPanel final : public jc::PrintDialogExtension {
 public:
  jc::View* panelView() override { return nullptr; }
  std::u16string panelName() override { return u"Viewless"; }
  std::string panelKind() override { return "viewless"; }
  std::vector<std::string> supportedPPDOptionKeys() override { return {}; }
  void willShow() override {}
  bool shouldHide() override { return true; }
  bool shouldPrint() override { return true; }
  bool shouldShowHelp() override { return false; }
  void PPDOptionKeyValueDidChange(const std::string&, const std::string&) override {}
  bool restoreValuesAndReturnError(std::string*) override { return true; }
  bool saveValuesAndReturnError(std::string*) override { return true; }
  jc::SummaryInfo summaryInfo() override { return {}; }
  jc::LifecycleFlags lifecycleFlags() const override { return {}; }
  std::optional<jc::FolderList> folders() const override { return std::nullopt; }
  std::optional<jc::FolderListOutcome> folderListOutcome() const override { return std::nullopt; }
  std::optional<jc::Message> preferencesError() const override { return std::nullopt; }
  bool printerKeepsFiledJobs() const override { return false; }
  jc::StandardAttributePlan standardAttributes(const jc::PrinterCapabilities&) const override {
    return {};
  }
};

class ShortFactory final : public jc::PDEPlugIn {
 public:
  bool initWithBundle(const jc::Bundle*) override { return true; }
  std::optional<jc::PanelList> PDEPanelsForType(std::string_view, jc::HostCallback*) override {
    if (JC_FAKE_FACTORY == 1) return std::nullopt;
    jc::PanelList panels;
    if (JC_FAKE_FACTORY == 2) panels.emplace_back(nullptr);
    if (JC_FAKE_FACTORY == 3) panels.emplace_back(std::make_unique<ViewlessPanel>());
    return panels;
  }
};

}  // namespace

extern "C" __attribute__((visibility("default"))) jc::PDEPlugIn*
KorvelPrintPdeVx418JCPDEPlugInCreate() {
  return JC_FAKE_FACTORY == 0 ? nullptr : new ShortFactory;
}

extern "C" __attribute__((visibility("default"))) int jobcontrol_plugin_interface_version() {
  return jc::kPlugInInterfaceVersion;
}
#endif
