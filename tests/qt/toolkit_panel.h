// A panel on a given toolkit, with everything else fixed: the sample printer,
// a stopped clock, a private preferences folder. Two of them, one per toolkit,
// start alike.
#pragma once

#include <memory>
#include <string>

#include "plugin/panel.h"
#include "support/panel_fixture.h"
#include "support/temp_dir.h"

namespace jc::test {

class ToolkitHost final : public HostCallback, public PrintSession, public Printer {
 public:
  explicit ToolkitHost(Toolkit& toolkit) : toolkit_(toolkit), ppd_(openPpd(samplePpdPath())) {}
  bool respondsToWillChangePPDOptionKeyValue() const override { return true; }
  ppd_file_t* ppdFile() override { return ppd_.get(); }
  PrintSession* printSession() override { return this; }
  PrintSettings* printSettings() override { return &settings; }
  Toolkit* toolkit() override { return &toolkit_; }
  RunLoop* runLoop() override { return loop; }
  Printer* currentPrinter() override { return this; }
  std::optional<std::string> deviceURI() const override { return "socket://localhost:9100"; }
  std::string printerID() const override { return "Sample_MFP"; }

  PrintSettings settings;
  RunLoop* loop = nullptr;

 private:
  Toolkit& toolkit_;
  PpdPtr ppd_;
};

struct ToolkitPanel {
  ToolkitPanel(Toolkit& toolkit, int uiMode, const std::string& language = "en");
  // The panel as a dialog opens it: view, will-show, restore.
  View& open();

  TempDir dir;
  ToolkitHost host;
  FixedClock clock{1796657204};
  PanelEnvironment env;
  std::unique_ptr<KorvelPrintPdeVx418JC> panel;
};

}  // namespace jc::test
