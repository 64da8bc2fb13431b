// Whether other users of the print server read a job's entries: CUPS shows a
// job's attributes to anyone except those its policy names in
// JobPrivateValues (by default only job-name, job-originating-host-name,
// job-originating-user-name and phone). The programs only find out; the
// administrator decides (see the README's JobPrivateValues line).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace jc {

// The name the scheduler is asked under to see a job as another user does.
inline constexpr const char* kAnotherUser = "jobcontrol-another-user";

// The names of the job's attributes that `user` is shown, in the
// scheduler's order; none when the scheduler does not answer or has no such
// job. Asked on a connection of its own, unauthenticated, as any local user
// may ask.
std::optional<std::vector<std::string>> attributesShownTo(int jobId, const std::string& user);

// Whether another user reads the entries of the calling user's latest job on
// `queue` that carries them; none when the queue has no such job to look at
// or the scheduler does not say.
std::optional<bool> entriesReadableByOthers(const std::string& queue);

}  // namespace jc
