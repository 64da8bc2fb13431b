#include "platform/print_settings.h"

#include <cstdlib>
#include <string>

namespace jc {
namespace {

// cupsFreeOptions frees nothing when no option is left, but the array that
// held the last removed option is still allocated.
void freeOptions(int count, cups_option_t* options) {
  if (count > 0)
    cupsFreeOptions(count, options);
  else
    std::free(options);
}

}  // namespace

PrintSettings::PrintSettings(const PrintSettings& other) : jobName_(other.jobName_) {
  for (int i = 0; i < other.numOptions_; ++i)
    numOptions_ =
        cupsAddOption(other.options_[i].name, other.options_[i].value, numOptions_, &options_);
}

PrintSettings& PrintSettings::operator=(const PrintSettings& other) {
  if (this != &other) {
    PrintSettings copy(other);
    *this = std::move(copy);
  }
  return *this;
}

PrintSettings::PrintSettings(PrintSettings&& other) noexcept
    : numOptions_(other.numOptions_),
      options_(other.options_),
      jobName_(std::move(other.jobName_)) {
  other.numOptions_ = 0;
  other.options_ = nullptr;
}

PrintSettings& PrintSettings::operator=(PrintSettings&& other) noexcept {
  if (this != &other) {
    freeOptions(numOptions_, options_);
    numOptions_ = other.numOptions_;
    options_ = other.options_;
    jobName_ = std::move(other.jobName_);
    other.numOptions_ = 0;
    other.options_ = nullptr;
  }
  return *this;
}

PrintSettings::~PrintSettings() { freeOptions(numOptions_, options_); }

std::optional<std::string> PrintSettings::value(std::string_view key) const {
  const std::string k(key);
  if (const char* v = cupsGetOption(k.c_str(), numOptions_, options_)) return std::string(v);
  return std::nullopt;
}

void PrintSettings::setValue(std::string_view key, std::optional<std::string_view> value) {
  if (key.empty()) return;
  const std::string k(key);
  if (!value) {
    numOptions_ = cupsRemoveOption(k.c_str(), numOptions_, &options_);
    if (numOptions_ == 0) {
      std::free(options_);
      options_ = nullptr;
    }
    return;
  }
  const std::string v(*value);
  numOptions_ = cupsAddOption(k.c_str(), v.c_str(), numOptions_, &options_);
}

}  // namespace jc
