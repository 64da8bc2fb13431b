// The plug-in's factory: the print dialog asks it for the panels of a dialog.
#pragma once

#include <functional>

#include "plugin/panel.h"
#include "plugin/print_dialog_extension.h"

namespace jc {

class KorvelPrintPdeVx418JCPDEPlugIn final : public PDEPlugIn {
 public:
  // Makes the services each new panel works with (its bundle, preferences...).
  using EnvironmentMaker = std::function<PanelEnvironment(HostCallback* hostInfo)>;

  explicit KorvelPrintPdeVx418JCPDEPlugIn(EnvironmentMaker makeEnvironment);

  bool initWithBundle(const Bundle* bundle) override;
  std::optional<PanelList> PDEPanelsForType(std::string_view type, HostCallback* hostInfo) override;

 private:
  EnvironmentMaker makeEnvironment_;
};

// The real services for a panel of the module at `addressInModule`: the
// resources found beside the module, the user's language and locale, and the
// preference folder the host names (or the default one).
PanelEnvironment moduleEnvironment(HostCallback* hostInfo, const void* addressInModule);

}  // namespace jc
