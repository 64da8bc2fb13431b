#include "hosts/cli/settings_file.h"

#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "hosts/cli/cli_options.h"
#include "hosts/cli/translation.h"
#include "platform/atomic_file.h"

namespace jc::cli {

void readSettingsFile(const std::filesystem::path& file, PrintSettings& settings) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return;
  std::ifstream in(file, std::ios::binary);
  if (!in) throw UsageError{tr("cannot read the settings file {0}", {file.string()})};
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
  if (json.is_discarded() || !json.is_object())
    throw UsageError{tr("the settings file {0} is not a JSON object", {file.string()})};
  for (const auto& [key, value] : json.items()) {
    if (!value.is_string())
      throw UsageError{
          tr("the settings file {0}: the value of \"{1}\" is not a string", {file.string(), key})};
    if (key.empty() || key.find('\0') != std::string::npos) continue;
    settings.setValue(key, value.get<std::string>());
  }
}

void writeSettingsFile(const std::filesystem::path& file, const PrintSettings& settings) {
  nlohmann::json json = nlohmann::json::object();
  for (int i = 0; i < settings.count(); ++i)
    json[settings.options()[i].name] = settings.options()[i].value;
  const std::string text = json.dump(2) + "\n";
  // The entries hold enciphered credentials.
  if (const std::error_code error = replaceFileAtomically(file, text, 0600))
    throw std::runtime_error(tr("cannot write {0}: {1}", {file.string(), error.message()}));
}

}  // namespace jc::cli
