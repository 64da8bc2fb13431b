#include "plugin/plugin_factory.h"

#include "platform/diagnostic_log.h"
#include "platform/directory_bundle.h"
#include "prefs/domain_store.h"

namespace jc {

KorvelPrintPdeVx418JCPDEPlugIn::KorvelPrintPdeVx418JCPDEPlugIn(EnvironmentMaker makeEnvironment)
    : makeEnvironment_(std::move(makeEnvironment)) {}

bool KorvelPrintPdeVx418JCPDEPlugIn::initWithBundle(const Bundle* /*bundle*/) {
  pdeProlog(this, "initWithBundle:");
  pdeEpilog(this, "initWithBundle:=BOOL(YES)");
  return true;
}

std::optional<PanelList> KorvelPrintPdeVx418JCPDEPlugIn::PDEPanelsForType(std::string_view type,
                                                                          HostCallback* hostInfo) {
  pdeProlog(this, "PDEPanelsForType:", type, hostInfo);
  std::optional<PanelList> answer = PanelList{};
  if (type == kPrintDialogPanelType) {
    std::unique_ptr<PrintDialogExtension> panel;
    try {
      panel = std::make_unique<KorvelPrintPdeVx418JC>(
          hostInfo, makeEnvironment_ ? makeEnvironment_(hostInfo) : PanelEnvironment{});
    } catch (const std::exception&) {
      panel.reset();
    }
    if (panel)
      answer->push_back(std::move(panel));
    else
      answer.reset();
  }
  pdeEpilog(this, "PDEPanelsForType:=NSArray(%@)", answer ? answer->size() : 0);
  return answer;
}

PanelEnvironment moduleEnvironment(HostCallback* hostInfo, const void* addressInModule) {
  std::shared_ptr<const Bundle> bundle;
  if (const auto folder = DirectoryBundle::findFolder(addressInModule))
    bundle = std::make_shared<DirectoryBundle>(*folder, DirectoryBundle::languageFromEnvironment());
  std::filesystem::path prefsFolder = FileDomainStore::defaultFolder();
  if (hostInfo)
    if (auto folder = hostInfo->preferencesFolder()) prefsFolder = *folder;
  PanelEnvironment env =
      PanelEnvironment::system(std::move(bundle), std::make_shared<FileDomainStore>(prefsFolder));
  if (hostInfo) env.runLoop = hostInfo->runLoop();
  return env;
}

}  // namespace jc
