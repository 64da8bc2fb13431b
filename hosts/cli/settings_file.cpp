#include "hosts/cli/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>

#include "hosts/cli/cli_options.h"
#include "hosts/cli/translation.h"
#include "platform/atomic_file.h"
#include "platform/unique_fd.h"

namespace jc::cli {
namespace {

// A settings file holds a few hundred entries of short strings.
constexpr std::size_t kMaxSettingsBytes = 1024 * 1024;

// The file's bytes; none when there is no file. Only a regular file is read
// (O_NONBLOCK: opening a FIFO does not wait for a writer), and at most
// kMaxSettingsBytes of it, also when its size says less (/proc files say 0).
std::optional<std::string> settingsText(const std::filesystem::path& file) {
  const UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (!fd && errno == ENOENT) return std::nullopt;
  struct stat info {};
  if (!fd || ::fstat(fd.get(), &info) != 0)
    throw UsageError{tr("cannot read the settings file {0}", {file.string()})};
  if (!S_ISREG(info.st_mode))
    throw UsageError{tr("the settings file {0} is not a regular file", {file.string()})};
  std::string text(kMaxSettingsBytes + 1, '\0');
  std::size_t filled = 0;
  while (filled < text.size()) {
    const ssize_t got = ::read(fd.get(), text.data() + filled, text.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw UsageError{tr("cannot read the settings file {0}", {file.string()})};
    if (got == 0) break;
    filled += static_cast<std::size_t>(got);
  }
  if (filled > kMaxSettingsBytes)
    throw UsageError{tr("the settings file {0} is larger than 1 MiB", {file.string()})};
  text.resize(filled);
  return text;
}

}  // namespace

void readSettingsFile(const std::filesystem::path& file, PrintSettings& settings) {
  const std::optional<std::string> text = settingsText(file);
  if (!text) return;
  const nlohmann::json json = nlohmann::json::parse(*text, nullptr, false);
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
