#include "hosts/common/printer_info.h"

#include <stdexcept>

namespace jc {

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

}  // namespace jc
