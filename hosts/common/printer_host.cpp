#include "hosts/common/printer_host.h"

#include <utility>

#include "hosts/common/ppd_constraints.h"

namespace jc {

PrinterHost::PrinterHost(PrinterInfo printer, std::optional<std::filesystem::path> prefsFolder,
                         Toolkit* toolkit, RunLoop* runLoop)
    : printer_(std::move(printer)),
      ppd_(printer_.ppdFile),
      toolkit_(toolkit),
      runLoop_(runLoop),
      prefsFolder_(std::move(prefsFolder)) {}

bool PrinterHost::willChangePPDOptionKeyValue(const char* option, const char* choice) {
  return ppdAcceptsChoice(ppd_.get(), option, choice);
}

}  // namespace jc
