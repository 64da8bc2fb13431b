#include "hosts/common/printer_info.h"

#include "hosts/common/host_error.h"

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
    throw HostError(Message("cannot read the PPD {0}: {1} (line {2})",
                            {file.string(), ppdErrorString(status), std::to_string(line)}));
  }
  ppdMarkDefaults(ppd_);
}

PpdFile::~PpdFile() {
  if (ppd_) ppdClose(ppd_);
}

}  // namespace jc
