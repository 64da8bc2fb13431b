// What the panel asks of the print dialog host, the printing system and its own bundle.
#pragma once

#include <cups/ppd.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/bundle.h"
#include "platform/print_settings.h"

namespace jc {

class Toolkit;
class RunLoop;

// The dialog's printer.
class Printer {
 public:
  virtual ~Printer() = default;
  // The device URI ("socket://host:9100"), or none.
  virtual std::optional<std::string> deviceURI() const = 0;
  // The printer's identifier (the queue name).
  virtual std::string printerID() const = 0;
};

class PrintSession {
 public:
  virtual ~PrintSession() = default;
  // The dialog's current printer, or null.
  virtual Printer* currentPrinter() = 0;
};

// The host's callback object, handed to the factory as host info.
class HostCallback {
 public:
  virtual ~HostCallback() = default;
  // True exactly when the host offers willChangePPDOptionKeyValue.
  virtual bool respondsToWillChangePPDOptionKeyValue() const = 0;
  // The parsed PPD, owned by the host and valid for the panel's life, or null.
  virtual ppd_file_t* ppdFile() = 0;
  virtual PrintSession* printSession() = 0;
  // The job's print settings, or null.
  virtual PrintSettings* printSettings() = 0;
  // True when the host accepts the choice.
  virtual bool willChangePPDOptionKeyValue(const char* /*option*/, const char* /*choice*/) {
    return true;
  }

  // The toolkit the host draws controls with; null when the host shows no view.
  virtual Toolkit* toolkit() { return nullptr; }
  // The host's event loop while the panel waits for the printer; null: none.
  virtual RunLoop* runLoop() { return nullptr; }
  // Where the panel keeps per-printer preferences; none: the default folder.
  virtual std::optional<std::filesystem::path> preferencesFolder() const { return std::nullopt; }
};

}  // namespace jc
