#include "prefs/private_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace jc {

bool ensurePrivateFolder(const std::filesystem::path& folder) {
  if (folder.empty()) return false;
  std::filesystem::path partial;
  for (const std::filesystem::path& part : folder) {
    partial /= part;
    if (part.empty() || part == "." || part == "..") continue;
    if (::mkdir(partial.c_str(), 0700) == 0) {
      // The umask may have taken bits away; a folder of ours is exactly 0700.
      if (::chmod(partial.c_str(), 0700) != 0) return false;
    } else if (errno != EEXIST) {
      return false;
    }
  }
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
  if (info.st_uid == ::geteuid() && (info.st_mode & 077) != 0) {
    if (::chmod(folder.c_str(), info.st_mode & 07700) != 0) return false;
  }
  return true;
}

}  // namespace jc
