#include "hosts/common/host_translation.h"

#include <optional>

#include "platform/directory_bundle.h"
#include "platform/text.h"

namespace jc {
namespace {

// Read once, on the first message: the environment does not change meanwhile.
const std::optional<DirectoryBundle>& catalogue() {
  static const std::optional<DirectoryBundle> bundle = []() -> std::optional<DirectoryBundle> {
    static const int anchor = 0;
    const auto folder = DirectoryBundle::findFolder(&anchor);
    if (!folder) return std::nullopt;
    return std::optional<DirectoryBundle>(std::in_place, *folder,
                                          DirectoryBundle::languageFromEnvironment(),
                                          DirectoryBundle::kCommandLineDomain);
  }();
  return bundle;
}

std::string translated(const std::string& msgid) {
  const auto& bundle = catalogue();
  if (!bundle || bundle->catalogLanguage().empty()) return msgid;
  return toUtf8(bundle->localizedString(fromUtf8(msgid)));
}

}  // namespace

std::string tr(const char* msgid) { return translated(msgid); }

std::string tr(const char* pattern, const std::vector<std::string>& values) {
  return formatMessage(translated(pattern), values);
}

std::string tr(const Message& message) {
  return formatMessage(translated(message.pattern), message.values);
}

void loadHostMessages() { catalogue(); }

}  // namespace jc
