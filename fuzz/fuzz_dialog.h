// A print dialog for the fuzz targets: the sample printer's PPD, the build
// tree's resources, a stopped clock, the in-memory toolkit and a preference
// folder of the target's own.
#pragma once

#include <cups/ppd.h>
#include <stdlib.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

#include "fuzz/fuzz_folder.h"
#include "hosts/headless/headless_toolkit.h"
#include "platform/clock.h"
#include "platform/directory_bundle.h"
#include "plugin/host.h"
#include "plugin/panel.h"
#include "prefs/domain_store.h"

namespace fuzz_dialog {

namespace fs = std::filesystem;

class StoppedClock final : public jc::Clock {
 public:
  std::time_t now() const override { return 1796657204; }  // 7 Dec 2026 15:26:44 UTC
};

struct PpdCloser {
  void operator()(ppd_file_t* ppd) const {
    if (ppd) ppdClose(ppd);
  }
};

// A print dialog with one printer, the job's entries and the in-memory toolkit.
class FuzzHost final : public jc::HostCallback, public jc::PrintSession, public jc::Printer {
 public:
  explicit FuzzHost(ppd_file_t* ppd) : ppd_(ppd) {}

  bool respondsToWillChangePPDOptionKeyValue() const override { return true; }
  ppd_file_t* ppdFile() override { return ppd_; }
  jc::PrintSession* printSession() override { return this; }
  jc::PrintSettings* printSettings() override { return &settings; }
  jc::Toolkit* toolkit() override { return &toolkit_; }

  jc::Printer* currentPrinter() override { return this; }
  std::optional<std::string> deviceURI() const override { return "socket://localhost:9100"; }
  std::string printerID() const override { return "Sample_MFP"; }

  jc::PrintSettings settings;

 private:
  ppd_file_t* ppd_;
  jc::HeadlessToolkit toolkit_;
};

struct Dialog {
  FuzzFolder folder;
  std::unique_ptr<ppd_file_t, PpdCloser> ppd;
  StoppedClock clock;
  jc::PanelEnvironment env;

  explicit Dialog(const std::string& name) : folder(name) {
    const fs::path bundle = JC_BUILD_BUNDLE_DIR;
    ppd.reset(ppdOpenFile((bundle / "printer" / "Sample_MFP.ppd").c_str()));
    if (!ppd) std::abort();
    ppdMarkDefaults(ppd.get());
    env.bundle = std::make_shared<jc::DirectoryBundle>(bundle, "en");
    env.clock = &clock;
    env.systemEncoding = jc::kCFStringEncodingMacRoman;
    env.fullUserName = u"Fuzz User";
    env.systemVersionFile = folder.path / "SystemVersion.plist";
    env.responseFile = folder.path / "vwxyz.xml";
  }

  // A fresh preference folder for each input, so inputs do not meet.
  void resetPreferences() {
    std::error_code ignored;
    fs::remove_all(folder.path / "prefs", ignored);
    env.preferences = std::make_shared<jc::FileDomainStore>(folder.path / "prefs");
  }
};

}  // namespace fuzz_dialog
