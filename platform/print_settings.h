// The job's print settings as the print system takes them with the job.
#pragma once

#include <cups/cups.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace jc {

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

}  // namespace jc
