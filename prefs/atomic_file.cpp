#include "prefs/atomic_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "prefs/unique_fd.h"

namespace jc {
namespace {

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

bool fsyncRetrying(int fd) {
  while (::fsync(fd) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

// Removes the temporary file unless it was renamed into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (!kept_) ::unlink(path_.c_str());
  }
  const std::string& path() const { return path_; }
  void keep() { kept_ = true; }

 private:
  std::string path_;
  bool kept_ = false;
};

}  // namespace

bool syncFolder(const std::filesystem::path& folder) {
  const std::filesystem::path target = folder.empty() ? std::filesystem::path(".") : folder;
  UniqueFd fd(::open(target.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!fd) return false;
  if (fsyncRetrying(fd.get())) return true;
  // Some file systems cannot flush a directory; their renames need no flush.
  return errno == EINVAL || errno == EROFS;
}

bool replaceFileAtomically(const std::filesystem::path& file, std::string_view contents) {
  std::string pattern = file.string() + ".tmp.XXXXXX";
  UniqueFd fd(::mkostemp(pattern.data(), O_CLOEXEC));
  if (!fd) return false;
  TemporaryFile temporary(pattern);
  if (::fchmod(fd.get(), 0600) != 0) return false;
  if (!writeAll(fd.get(), contents)) return false;
  if (!fsyncRetrying(fd.get())) return false;
  if (!fd.close()) return false;
  if (std::rename(temporary.path().c_str(), file.c_str()) != 0) return false;
  temporary.keep();
  return syncFolder(file.parent_path());
}

}  // namespace jc
