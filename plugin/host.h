// What the panel asks of the print dialog host, the printing system and its own bundle.
#pragma once

#include <cups/cups.h>
#include <cups/ppd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace jc {

class Toolkit;
class RunLoop;

// The job's print settings: the libcups option array that goes with the job.
class PrintSettings {
 public:
  PrintSettings() = default;
  PrintSettings(const PrintSettings& other);
  PrintSettings& operator=(const PrintSettings& other);
  PrintSettings(PrintSettings&& other) noexcept;
  PrintSettings& operator=(PrintSettings&& other) noexcept;
  ~PrintSettings();

  // The value under `key`, or none when the key is absent.
  std::optional<std::string> value(std::string_view key) const;
  // Stores `value` under `key`; none removes the key.
  void setValue(std::string_view key, std::optional<std::string_view> value);
  // The job's name as the application gave it, or none.
  std::optional<std::string> jobName() const { return jobName_; }
  void setJobName(std::optional<std::string> name) { jobName_ = std::move(name); }

  int count() const { return numOptions_; }
  cups_option_t* options() const { return options_; }

 private:
  int numOptions_ = 0;
  cups_option_t* options_ = nullptr;
  std::optional<std::string> jobName_;
};

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

// The plug-in's own resources.
class Bundle {
 public:
  virtual ~Bundle() = default;
  // The file of resource `name` of type `type` ("listfiles", "xml"), or none.
  virtual std::optional<std::filesystem::path> pathForResource(std::string_view name,
                                                               std::string_view type) const = 0;
  // The layout file for a layout name ("JobControl2"), or none.
  virtual std::optional<std::filesystem::path> layoutPath(std::string_view name) const = 0;
  // The translation of `key` in the default table; the key itself when none.
  virtual std::u16string localizedString(std::u16string_view key) const = 0;
};

}  // namespace jc
