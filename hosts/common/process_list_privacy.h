// Whether other users see this machine's processes, and so the command lines
// of CUPS's filters and backend, which hold a job's options.
#pragma once

#include <optional>
#include <string_view>

namespace jc {

// Whether the proc file system mounted at /proc, as `mountinfo` (the text of
// /proc/self/mountinfo) describes it, hides other users' processes: its
// hidepid option is 1, 2 or 4 (noaccess, invisible, ptraceable). The last
// mount at /proc counts, as it covers the earlier ones. None when what is
// mounted there last is no proc file system.
std::optional<bool> procHidesOtherUsers(std::string_view mountinfo);

// The same for this process's own /proc/self/mountinfo; none when it cannot
// be read.
std::optional<bool> procHidesOtherUsers();

}  // namespace jc
