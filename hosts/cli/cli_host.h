// The command line's side of the print dialog: printer, PPD, print settings,
// toolkit and event loop, handed to the panel as its host.
#pragma once

#include <cups/ppd.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "hosts/headless/headless_toolkit.h"
#include "plugin/host.h"
#include "soap/run_loop.h"

namespace jc::cli {

struct PrinterInfo {
  std::string id;  // the queue name / identifier
  std::optional<std::string> deviceURI;
  std::filesystem::path ppdFile;
  std::optional<std::string> cupsDestination;  // set when the printer is a CUPS queue
};

// The embedded default printer of the bundle at `bundleFolder`.
PrinterInfo embeddedDefaultPrinter(const std::filesystem::path& bundleFolder);

// A parsed PPD file with its default choices marked.
class PpdFile {
 public:
  explicit PpdFile(const std::filesystem::path& file);  // throws std::runtime_error
  ~PpdFile();
  PpdFile(const PpdFile&) = delete;
  PpdFile& operator=(const PpdFile&) = delete;
  ppd_file_t* get() const { return ppd_; }

 private:
  ppd_file_t* ppd_ = nullptr;
};

// While the panel waits for the printer: a progress line on a terminal.
class ProgressRunLoop final : public RunLoop {
 public:
  explicit ProgressRunLoop(bool showProgress) : show_(showProgress) {}
  ~ProgressRunLoop() override;
  void processEvents() override;

 private:
  bool show_;
  int turns_ = 0;
  bool shown_ = false;
};

class CliHost final : public HostCallback, public PrintSession, public Printer {
 public:
  CliHost(PrinterInfo printer, std::optional<std::filesystem::path> prefsFolder);

  bool respondsToWillChangePPDOptionKeyValue() const override { return true; }
  ppd_file_t* ppdFile() override { return ppd_.get(); }
  PrintSession* printSession() override { return this; }
  PrintSettings* printSettings() override { return &settings_; }
  bool willChangePPDOptionKeyValue(const char* option, const char* choice) override;
  Toolkit* toolkit() override { return &toolkit_; }
  RunLoop* runLoop() override { return &runLoop_; }
  std::optional<std::filesystem::path> preferencesFolder() const override { return prefsFolder_; }

  Printer* currentPrinter() override { return this; }
  std::optional<std::string> deviceURI() const override { return printer_.deviceURI; }
  std::string printerID() const override { return printer_.id; }

  PrintSettings& settings() { return settings_; }
  HeadlessToolkit& headlessToolkit() { return toolkit_; }
  const PrinterInfo& printer() const { return printer_; }

 private:
  PrinterInfo printer_;
  PpdFile ppd_;
  PrintSettings settings_;
  HeadlessToolkit toolkit_;
  ProgressRunLoop runLoop_;
  std::optional<std::filesystem::path> prefsFolder_;
};

}  // namespace jc::cli
