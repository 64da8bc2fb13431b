#include "hosts/cli/cli_host.h"

#include <unistd.h>

#include <cstdio>
#include <stdexcept>
#include <utility>
#include <vector>

#include "hosts/common/ppd_constraints.h"

namespace jc::cli {

PrinterInfo embeddedDefaultPrinter(const std::filesystem::path& bundleFolder) {
  PrinterInfo printer;
  printer.id = "Sample_MFP";
  printer.deviceURI = "socket://localhost:9100";
  printer.ppdFile = bundleFolder / "printer" / "Sample_MFP.ppd";
  return printer;
}

PpdFile::PpdFile(const std::filesystem::path& file) {
  ppd_ = ppdOpenFile(file.c_str());
  if (!ppd_) {
    int line = 0;
    const ppd_status_t status = ppdLastError(&line);
    throw std::runtime_error("cannot read the PPD " + file.string() + ": " +
                             ppdErrorString(status) + " (line " + std::to_string(line) + ")");
  }
  ppdMarkDefaults(ppd_);
}

PpdFile::~PpdFile() {
  if (ppd_) ppdClose(ppd_);
}

ProgressRunLoop::~ProgressRunLoop() {
  if (shown_) std::fputs("\r\033[K", stderr);
}

void ProgressRunLoop::processEvents() {
  ++turns_;
  if (!show_) return;
  static constexpr const char* kSpinner = "|/-\\";
  std::fprintf(stderr, "\rFetching the printer's folder names %c", kSpinner[turns_ % 4]);
  std::fflush(stderr);
  shown_ = true;
}

CliHost::CliHost(PrinterInfo printer, std::optional<std::filesystem::path> prefsFolder)
    : printer_(std::move(printer)),
      ppd_(printer_.ppdFile),
      runLoop_(isatty(STDERR_FILENO) == 1),
      prefsFolder_(std::move(prefsFolder)) {}

bool CliHost::willChangePPDOptionKeyValue(const char* option, const char* choice) {
  return ppdAcceptsChoice(ppd_.get(), option, choice);
}

}  // namespace jc::cli
