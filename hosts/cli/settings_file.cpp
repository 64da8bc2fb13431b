#include "hosts/cli/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "hosts/cli/cli_options.h"

namespace jc::cli {

void readSettingsFile(const std::filesystem::path& file, PrintSettings& settings) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return;
  std::ifstream in(file, std::ios::binary);
  if (!in) throw UsageError{"cannot read the settings file " + file.string()};
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
  if (json.is_discarded() || !json.is_object())
    throw UsageError{"the settings file " + file.string() + " is not a JSON object"};
  for (const auto& [key, value] : json.items()) {
    if (!value.is_string())
      throw UsageError{"the settings file " + file.string() + ": the value of \"" + key +
                       "\" is not a string"};
    if (key.empty() || key.find('\0') != std::string::npos) continue;
    settings.setValue(key, value.get<std::string>());
  }
}

void writeSettingsFile(const std::filesystem::path& file, const PrintSettings& settings) {
  nlohmann::json json = nlohmann::json::object();
  for (int i = 0; i < settings.count(); ++i)
    json[settings.options()[i].name] = settings.options()[i].value;
  const std::string text = json.dump(2) + "\n";
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
  // Appended piecewise: GCC 12 warns falsely (-Wrestrict) on the one-line sum at -O3.
  std::string name = ".";
  name += file.filename().string();
  name += ".XXXXXX";
  std::string temp = (folder / name).string();
  const int fd = mkstemp(temp.data());
  if (fd < 0)
    throw std::runtime_error("cannot write " + file.string() + ": " + std::strerror(errno));
  fchmod(fd, 0600);  // the entries hold enciphered credentials
  std::size_t done = 0;
  bool ok = true;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      break;
    }
    done += std::size_t(n);
  }
  ok = ok && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (!ok || std::rename(temp.c_str(), file.c_str()) != 0) {
    const int error = errno;
    ::unlink(temp.c_str());
    throw std::runtime_error("cannot write " + file.string() + ": " + std::strerror(error));
  }
}

}  // namespace jc::cli
