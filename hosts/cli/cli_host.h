// The command line's side of the print dialog: printer, PPD, print settings,
// toolkit and event loop, handed to the panel as its host.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "hosts/common/printer_host.h"
#include "hosts/headless/headless_toolkit.h"
#include "plugin/host.h"
#include "soap/run_loop.h"

namespace jc::cli {

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

// The command line's toolkit and event loop around the common printer host.
class CliHost final : public PrinterHost {
 public:
  CliHost(PrinterInfo printer, std::optional<std::filesystem::path> prefsFolder);

  HeadlessToolkit& headlessToolkit() { return toolkit_; }

 private:
  HeadlessToolkit toolkit_;
  ProgressRunLoop runLoop_;
};

}  // namespace jc::cli
