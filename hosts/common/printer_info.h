// The printer a host shows the panel for: its identifier, device URI and PPD.
#pragma once

#include <cups/ppd.h>

#include <filesystem>
#include <optional>
#include <string>

namespace jc {

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

}  // namespace jc
