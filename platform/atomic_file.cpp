#include "platform/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "platform/unique_fd.h"

namespace jc {
namespace {

std::error_code lastError() { return {errno, std::generic_category()}; }

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

std::error_code syncFolderFd(int folderFd) {
  if (fsyncRetrying(folderFd)) return {};
  // Some file systems cannot flush a directory; their renames need no flush.
  if (errno == EINVAL || errno == EROFS) return {};
  return lastError();
}

// ".<target>.tmp-": the start of every temporary name of `target`.
std::string temporaryPrefix(const std::string& target) {
  std::string prefix = ".";
  prefix += target;
  prefix += ".tmp-";
  return prefix;
}

std::uint64_t randomNumber() {
  std::uint64_t value = 0;
  if (::getrandom(&value, sizeof value, GRND_NONBLOCK) == sizeof value) return value;
  // Without entropy yet: distinct enough, since O_EXCL and link refuse a clash.
  static std::atomic<std::uint64_t> counter{0};
  const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
  return static_cast<std::uint64_t>(now) * 0x9E3779B97F4A7C15ull + counter++;
}

std::string temporaryName(const std::string& target) {
  char random[17];
  std::snprintf(random, sizeof random, "%016llx", static_cast<unsigned long long>(randomNumber()));
  std::string name = temporaryPrefix(target);
  name += std::to_string(::getpid());
  name += '-';
  name += random;
  return name;
}

// The process that wrote a temporary file named `name`, or none when the name
// is not one of `prefix`'s.
std::optional<pid_t> writerOf(std::string_view name, std::string_view prefix) {
  if (!name.starts_with(prefix)) return std::nullopt;
  name.remove_prefix(prefix.size());
  pid_t pid = 0;
  const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
  if (error != std::errc() || pid <= 0 || end == name.data() + name.size() || *end != '-') {
    return std::nullopt;
  }
  return pid;
}

bool isStale(int folderFd, const char* name, pid_t writer) {
  struct stat info {};
  if (::fstatat(folderFd, name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode)) {
    return false;
  }
  if (::kill(writer, 0) != 0 && errno == ESRCH) return true;
  const auto age = std::chrono::system_clock::now() -
                   std::chrono::system_clock::from_time_t(info.st_mtim.tv_sec);
  return age > std::chrono::seconds(kStaleTemporaryAgeSeconds);
}

// Removes what writers of `target` that are gone left behind.
void removeStaleTemporaries(int folderFd, const std::string& target) {
  const int listFd = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listFd < 0) return;
  DIR* listing = ::fdopendir(listFd);
  if (!listing) {
    ::close(listFd);
    return;
  }
  const std::string prefix = temporaryPrefix(target);
  while (const dirent* entry = ::readdir(listing)) {
    const std::optional<pid_t> writer = writerOf(entry->d_name, prefix);
    if (writer && isStale(folderFd, entry->d_name, *writer)) {
      ::unlinkat(folderFd, entry->d_name, 0);
    }
  }
  ::closedir(listing);
}

// The file the new contents are written to; removed unless renamed into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(int folderFd) : folderFd_(folderFd) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (!name_.empty() && !renamed_) ::unlinkat(folderFd_, name_.c_str(), 0);
  }

  // An unnamed file where the file system allows it, else a new named one.
  std::error_code open(const std::string& target) {
    fd_.reset(::openat(folderFd_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
    if (fd_) return {};
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string name = temporaryName(target);
      fd_.reset(::openat(folderFd_, name.c_str(),
                         O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, 0600));
      if (fd_) {
        name_ = std::move(name);
        return {};
      }
      if (errno != EEXIST) break;
    }
    return lastError();
  }

  // Gives an unnamed file its hidden name, so that it can be renamed.
  std::error_code giveName(const std::string& target) {
    for (int attempt = 0; name_.empty() && attempt < 100; ++attempt) {
      std::string name = temporaryName(target);
      if (link(name)) {
        name_ = std::move(name);
      } else if (errno != EEXIST) {
        return lastError();
      }
    }
    return name_.empty() ? std::make_error_code(std::errc::file_exists) : std::error_code();
  }

  std::error_code renameOver(const std::string& target) {
    if (::renameat(folderFd_, name_.c_str(), folderFd_, target.c_str()) != 0) return lastError();
    renamed_ = true;
    return {};
  }

  UniqueFd& fd() { return fd_; }

 private:
  bool link(const std::string& name) {
    if (::linkat(fd_.get(), "", folderFd_, name.c_str(), AT_EMPTY_PATH) == 0) return true;
    if (errno == EEXIST) return false;
    // AT_EMPTY_PATH needs a capability an ordinary user lacks; the
    // descriptor's /proc entry links the same file.
    const std::string self = "/proc/self/fd/" + std::to_string(fd_.get());
    return ::linkat(AT_FDCWD, self.c_str(), folderFd_, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
  }

  int folderFd_;
  UniqueFd fd_;
  std::string name_;  // empty while the file is unnamed
  bool renamed_ = false;
};

}  // namespace

std::error_code syncFolder(const std::filesystem::path& folder) {
  const std::filesystem::path target = folder.empty() ? std::filesystem::path(".") : folder;
  UniqueFd fd(::open(target.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!fd) return lastError();
  return syncFolderFd(fd.get());
}

std::error_code replaceFileAtomically(const std::filesystem::path& file, std::string_view contents,
                                      mode_t mode, Durability durability) {
  return replaceFileAtomically(
      file, [contents](const ContentsSink& write) { return write(contents); }, mode, durability);
}

std::error_code replaceFileAtomically(const std::filesystem::path& file,
                                      const ContentsProducer& produce, mode_t mode,
                                      Durability durability) {
  if (!file.has_filename()) return std::make_error_code(std::errc::invalid_argument);
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
  const UniqueFd folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!folderFd) return lastError();
  const std::string target = file.filename().string();
  removeStaleTemporaries(folderFd.get(), target);

  TemporaryFile temporary(folderFd.get());
  if (std::error_code error = temporary.open(target)) return error;
  const int fd = temporary.fd().get();
  if (::fchmod(fd, mode) != 0) return lastError();
  std::error_code writeError;
  const bool produced = produce([fd, &writeError](std::string_view piece) {
    if (!writeError && !writeAll(fd, piece)) writeError = lastError();
    return !writeError;
  });
  if (writeError) return writeError;
  if (!produced) return std::make_error_code(std::errc::operation_canceled);
  const bool flushed = durability == Durability::Flushed;
  if (flushed && !fsyncRetrying(fd)) return lastError();
  if (std::error_code error = temporary.giveName(target)) return error;
  if (!temporary.fd().close()) return lastError();
  if (std::error_code error = temporary.renameOver(target)) return error;
  return flushed ? syncFolderFd(folderFd.get()) : std::error_code();
}

}  // namespace jc
