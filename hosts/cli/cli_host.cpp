#include "hosts/cli/cli_host.h"

#include <unistd.h>

#include <cstdio>
#include <utility>

#include "hosts/cli/translation.h"

namespace jc::cli {

namespace {
constexpr std::chrono::milliseconds kSpinnerStep{250};
}

ProgressRunLoop::ProgressRunLoop(bool showProgress)
    : PollRunLoop(showProgress ? kSpinnerStep : std::chrono::milliseconds(0)),
      show_(showProgress) {}

ProgressRunLoop::~ProgressRunLoop() {
  if (shown_) std::fputs("\r\033[K", stderr);
}

void ProgressRunLoop::onWake() {
  ++turns_;
  if (!show_) return;
  static constexpr const char* kSpinner = "|/-\\";
  static const std::string text = tr("Fetching the printer's folder names");
  std::fprintf(stderr, "\r%s %c", text.c_str(), kSpinner[turns_ % 4]);
  std::fflush(stderr);
  shown_ = true;
}

// The base keeps pointers to the members made after it; the panel uses them
// only once the host is whole.
CliHost::CliHost(PrinterInfo printer, std::optional<std::filesystem::path> prefsFolder)
    : PrinterHost(std::move(printer), std::move(prefsFolder), &toolkit_, &runLoop_),
      runLoop_(isatty(STDERR_FILENO) == 1) {}

}  // namespace jc::cli
