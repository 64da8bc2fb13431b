// The advisory lock that orders the writers of one preference domain.
#pragma once

#include <filesystem>
#include <optional>

#include "platform/unique_fd.h"

namespace jc {

// An exclusive flock on a lock file of its own (mode 0600, created when
// missing). The lock is never taken on the data file itself, since a write
// replaces that file with a new one. Held until destruction.
class DomainLock {
 public:
  // Waits for the lock (and keeps waiting when a signal interrupts); none
  // when the lock file cannot be opened or locked. A symbolic link at
  // `lockFile` is not followed.
  static std::optional<DomainLock> acquire(const std::filesystem::path& lockFile);

 private:
  explicit DomainLock(UniqueFd fd) : fd_(std::move(fd)) {}
  UniqueFd fd_;
};

}  // namespace jc
