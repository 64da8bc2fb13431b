#include "prefs/domain_lock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>

namespace jc {

std::optional<DomainLock> DomainLock::acquire(const std::filesystem::path& lockFile) {
  UniqueFd fd(::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, 0600));
  if (!fd) return std::nullopt;
  while (::flock(fd.get(), LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    const int error = errno;
    fd.reset();
    errno = error;  // for the caller's message
    return std::nullopt;
  }
  return DomainLock(std::move(fd));
}

}  // namespace jc
