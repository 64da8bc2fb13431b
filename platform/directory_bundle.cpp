#include "platform/directory_bundle.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>
#include <vector>

#include "platform/text.h"

namespace jc {
namespace {

namespace fs = std::filesystem;

bool isRegularFile(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec);
}

bool isDirectory(const fs::path& p) {
  std::error_code ec;
  return fs::is_directory(p, ec);
}

// A resource name must stay inside the folder: no separators, not "." or "..".
bool isPlainName(std::string_view s) {
  return !s.empty() && s != "." && s != ".." && s.find('/') == std::string_view::npos &&
         s.find('\0') == std::string_view::npos;
}

// "ja_JP.UTF-8@euro" -> "ja_JP".
std::string stripCodesetAndModifier(std::string_view locale) {
  const auto end = locale.find_first_of(".@");
  return std::string(locale.substr(0, end));
}

// The names whose catalogues are tried, most specific first.
std::vector<std::string> catalogCandidates(std::string_view language) {
  std::vector<std::string> names;
  const std::string full = stripCodesetAndModifier(language);
  if (!isPlainName(full)) return names;
  names.push_back(full);
  const auto underscore = full.find('_');
  if (underscore != std::string::npos && underscore > 0)
    names.push_back(full.substr(0, underscore));
  return names;
}

const char* nonEmpty(const char* s) { return s && *s ? s : nullptr; }

// The file of the loaded object that holds `address`. The main program's
// entry in the link map has no name; its file is /proc/self/exe.
std::optional<fs::path> moduleFileOf(const void* address) {
  Dl_info info{};
  link_map* map = nullptr;
  if (dladdr1(address, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) == 0) {
    return std::nullopt;
  }
  if (map && map->l_name && map->l_name[0] != '\0') return fs::path(map->l_name);
  std::error_code ec;
  auto exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) return exe;
  if (info.dli_fname && info.dli_fname[0] != '\0') return fs::path(info.dli_fname);
  return std::nullopt;
}

// <prefix>/lib[...]/jobcontrol/x.so or <prefix>/bin/x -> <prefix>/share/jobcontrol.
std::optional<fs::path> folderBesidePrefix(const fs::path& module) {
  const fs::path dir = module.parent_path();
  std::optional<fs::path> prefix;
  if (dir.filename() == "bin") {
    prefix = dir.parent_path();
  } else if (dir.filename() == "jobcontrol") {
    // lib/jobcontrol, lib64/jobcontrol or lib/<multiarch triplet>/jobcontrol
    const fs::path lib = dir.parent_path();
    if (lib.filename().string().starts_with("lib")) {
      prefix = lib.parent_path();
    } else if (lib.parent_path().filename().string().starts_with("lib")) {
      prefix = lib.parent_path().parent_path();
    }
  }
  if (!prefix) return std::nullopt;
  fs::path folder = *prefix / "share" / "jobcontrol";
  if (!isDirectory(folder)) return std::nullopt;
  return folder;
}

}  // namespace

DirectoryBundle::DirectoryBundle(std::filesystem::path folder, std::string_view language,
                                 std::string_view domain)
    : folder_(std::move(folder)) {
  for (const auto& name : catalogCandidates(language)) {
    const fs::path file = folder_ / "locale" / name / "LC_MESSAGES" / (std::string(domain) + ".mo");
    if (!isRegularFile(file)) continue;
    catalog_ = MoCatalog::fromFile(file);
    catalogLanguage_ = name;
    break;
  }
}

std::optional<std::filesystem::path> DirectoryBundle::pathForResource(std::string_view name,
                                                                      std::string_view type) const {
  if (!isPlainName(name) || type.find('/') != std::string_view::npos ||
      type.find('\0') != std::string_view::npos) {
    return std::nullopt;
  }
  std::string file(name);
  if (!type.empty()) {
    file += '.';
    file += type;
  }
  fs::path path = folder_ / file;
  if (!isRegularFile(path)) return std::nullopt;
  return path;
}

std::optional<std::filesystem::path> DirectoryBundle::layoutPath(std::string_view name) const {
  if (!isPlainName(name)) return std::nullopt;
  fs::path path = folder_ / "layouts" / (std::string(name) + ".ui");
  if (!isRegularFile(path)) return std::nullopt;
  return path;
}

std::u16string DirectoryBundle::localizedString(std::u16string_view key) const {
  if (key.empty()) return {};
  const std::string* translation = catalog_.find(toUtf8(key));
  if (!translation || translation->empty()) return std::u16string(key);
  return fromUtf8(*translation);
}

std::string DirectoryBundle::languageFrom(const char* language, const char* lcAll,
                                          const char* lcMessages, const char* lang) {
  std::string chosen;
  if (nonEmpty(language)) {
    // The first entry of the colon-separated list that is not empty.
    std::string_view list(language);
    while (chosen.empty() && !list.empty()) {
      const auto colon = list.find(':');
      chosen = std::string(list.substr(0, colon));
      list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
    }
  }
  if (chosen.empty()) {
    for (const char* value : {lcAll, lcMessages, lang}) {
      if (nonEmpty(value)) {
        chosen = value;
        break;
      }
    }
  }
  chosen = stripCodesetAndModifier(chosen);
  if (chosen.empty() || chosen == "C" || chosen == "POSIX") return "en";
  return chosen;
}

std::string DirectoryBundle::languageFromEnvironment() {
  return languageFrom(std::getenv("LANGUAGE"), std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"),
                      std::getenv("LANG"));
}

std::optional<std::filesystem::path> DirectoryBundle::folderForModule(
    const std::filesystem::path& module) {
  if (module.empty()) return std::nullopt;
  std::error_code ec;
  const fs::path absolute = fs::absolute(module, ec).lexically_normal();
  if (ec) return std::nullopt;
  if (auto folder = folderBesidePrefix(absolute)) return folder;
  // A module reached through a symbolic link: try where it really lives.
  const fs::path real = fs::canonical(absolute, ec);
  if (!ec && real != absolute) return folderBesidePrefix(real);
  return std::nullopt;
}

std::optional<std::filesystem::path> DirectoryBundle::findFolder(const void* addressInModule) {
  if (const char* override = nonEmpty(std::getenv(kFolderVariable))) return fs::path(override);
  if (!addressInModule) return std::nullopt;
  const auto module = moduleFileOf(addressInModule);
  if (!module) return std::nullopt;
  return folderForModule(*module);
}

}  // namespace jc
