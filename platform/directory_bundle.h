// The plug-in's resources as a folder on disk:
//
//   <folder>/<name>.<type>                              resources ("listfiles.xml")
//   <folder>/layouts/<name>.ui                          layouts
//   <folder>/locale/<lang>/LC_MESSAGES/<domain>.mo      string tables: the
//                                                       panel's "jobcontrol",
//                                                       the command line's
//                                                       "jobcontrol-cli"
//
// The string table of the language chosen at construction is read once, by
// this class itself (no process-wide gettext or locale state is touched).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/bundle.h"
#include "platform/mo_catalog.h"

namespace jc {

class DirectoryBundle : public Bundle {
 public:
  // The gettext domain of the panel's string tables.
  static constexpr std::string_view kDomain = "jobcontrol";
  // The gettext domain of the hosts' own messages: the command line's, and
  // the notes the dialog shows under the panel.
  static constexpr std::string_view kCommandLineDomain = "jobcontrol-cli";
  // The environment variable that names the resource folder, overriding the
  // one found next to the module.
  static constexpr const char* kFolderVariable = "JOBCONTROL_BUNDLE_DIR";

  // `language` is a language or locale name: "ja", "ja_JP", "ja_JP.UTF-8".
  // The catalogue of the full name (without codeset and modifier) is tried
  // first, then that of the language alone. `domain` names the catalogue.
  DirectoryBundle(std::filesystem::path folder, std::string_view language,
                  std::string_view domain = kDomain);

  std::optional<std::filesystem::path> pathForResource(std::string_view name,
                                                       std::string_view type) const override;
  std::optional<std::filesystem::path> layoutPath(std::string_view name) const override;
  std::u16string localizedString(std::u16string_view key) const override;

  const std::filesystem::path& folder() const { return folder_; }
  // The language whose catalogue was loaded, or empty when none was found.
  const std::string& catalogLanguage() const { return catalogLanguage_; }

  // The user's message language from the environment: the first non-empty
  // entry of LANGUAGE, else LC_ALL, LC_MESSAGES, LANG (the first one set and not
  // empty), without codeset and modifier ("ja_JP.UTF-8" gives "ja_JP"). "C",
  // "POSIX" and an unset environment give "en".
  static std::string languageFromEnvironment();
  // The same rule on given values (null: unset).
  static std::string languageFrom(const char* language, const char* lcAll, const char* lcMessages,
                                  const char* lang);

  // The resource folder of the module that contains `addressInModule`:
  // JOBCONTROL_BUNDLE_DIR when set and not empty; otherwise, for a module at
  // <prefix>/lib/jobcontrol/x.so or an executable at <prefix>/bin/x,
  // <prefix>/share/jobcontrol when that folder exists. None otherwise.
  static std::optional<std::filesystem::path> findFolder(const void* addressInModule);
  // The folder for a module file's path, by the same rule, without the
  // environment override.
  static std::optional<std::filesystem::path> folderForModule(const std::filesystem::path& module);

 private:
  std::filesystem::path folder_;
  std::string catalogLanguage_;
  MoCatalog catalog_;
};

}  // namespace jc
