#include "plugin/panel_environment.h"

#include <pwd.h>
#include <unistd.h>

#include <vector>

namespace jc {

std::optional<std::u16string> fullUserNameOfCurrentUser() {
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? std::size_t(size) : 16384);
  passwd entry{};
  passwd* result = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &result) != 0 || !result)
    return std::nullopt;
  std::string name = result->pw_gecos ? result->pw_gecos : "";
  name = name.substr(0, name.find(','));
  if (name.empty() && result->pw_name) name = result->pw_name;
  if (name.empty()) return std::nullopt;
  return fromUtf8(name);
}

PanelEnvironment PanelEnvironment::system(std::shared_ptr<const Bundle> bundle,
                                          std::shared_ptr<DomainStore> preferences) {
  PanelEnvironment env;
  env.bundle = std::move(bundle);
  env.preferences = std::move(preferences);
  env.systemEncoding = systemEncodingFromEnvironment();
  env.fullUserName = fullUserNameOfCurrentUser();
  return env;
}

}  // namespace jc
