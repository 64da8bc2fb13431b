// What every host hands the panel for one printer: the PPD, the job's print
// settings, the printer's identity, and the toolkit and event loop the host
// draws and waits with.
#pragma once

#include <filesystem>
#include <optional>

#include "hosts/common/printer_info.h"
#include "plugin/host.h"

namespace jc {

class PrinterHost : public HostCallback, public PrintSession, public Printer {
 public:
  // Reads the printer's PPD (throws std::runtime_error). `toolkit` and
  // `runLoop` may be null and must outlive the host's use by the panel.
  PrinterHost(PrinterInfo printer, std::optional<std::filesystem::path> prefsFolder,
              Toolkit* toolkit, RunLoop* runLoop);

  bool respondsToWillChangePPDOptionKeyValue() const override { return true; }
  ppd_file_t* ppdFile() override { return ppd_.get(); }
  PrintSession* printSession() override { return this; }
  PrintSettings* printSettings() override { return &settings_; }
  bool willChangePPDOptionKeyValue(const char* option, const char* choice) override;
  Toolkit* toolkit() override { return toolkit_; }
  RunLoop* runLoop() override { return runLoop_; }
  std::optional<std::filesystem::path> preferencesFolder() const override { return prefsFolder_; }

  Printer* currentPrinter() override { return this; }
  std::optional<std::string> deviceURI() const override { return printer_.deviceURI; }
  std::string printerID() const override { return printer_.id; }

  PrintSettings& settings() { return settings_; }
  const PrinterInfo& printer() const { return printer_; }

 private:
  PrinterInfo printer_;
  PpdFile ppd_;
  PrintSettings settings_;
  Toolkit* toolkit_;
  RunLoop* runLoop_;
  std::optional<std::filesystem::path> prefsFolder_;
};

}  // namespace jc
