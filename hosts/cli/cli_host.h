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
#include "soap/poll_run_loop.h"

namespace jc::cli {

// While the panel waits for the printer: a progress line on a terminal,
// its spinner turning a few times a second.
class ProgressRunLoop final : public PollRunLoop {
 public:
  explicit ProgressRunLoop(bool showProgress);
  ~ProgressRunLoop() override;

 protected:
  void onWake() override;

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
