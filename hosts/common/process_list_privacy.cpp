#include "hosts/common/process_list_privacy.h"

#include <array>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace jc {
namespace {

std::vector<std::string_view> split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (std::size_t from = 0;;) {
    const std::size_t at = text.find(separator, from);
    parts.push_back(text.substr(from, at == std::string_view::npos ? at : at - from));
    if (at == std::string_view::npos) return parts;
    from = at + 1;
  }
}

// Whether a proc mount's super options hide other users' processes. The
// kernel writes hidepid as a number before Linux 5.8 and as a word since.
bool hidesOtherUsers(std::string_view superOptions) {
  static constexpr std::array<std::string_view, 6> kHiding = {
      "hidepid=1",        "hidepid=2",         "hidepid=4",
      "hidepid=noaccess", "hidepid=invisible", "hidepid=ptraceable"};
  for (const std::string_view option : split(superOptions, ','))
    for (const std::string_view hiding : kHiding)
      if (option == hiding) return true;
  return false;
}

}  // namespace

std::optional<bool> procHidesOtherUsers(std::string_view mountinfo) {
  bool procLast = false;  // whether the last mount at /proc is a proc file system
  bool hides = false;
  for (const std::string_view line : split(mountinfo, '\n')) {
    // ID PARENT MAJOR:MINOR ROOT MOUNT-POINT OPTIONS [OPTIONAL...] - TYPE
    // SOURCE SUPER-OPTIONS
    const std::vector<std::string_view> fields = split(line, ' ');
    if (fields.size() < 10 || fields[4] != "/proc") continue;
    std::size_t dash = 6;
    while (dash < fields.size() && fields[dash] != "-") ++dash;
    procLast = dash + 3 < fields.size() && fields[dash + 1] == "proc";
    hides = procLast && hidesOtherUsers(fields[dash + 3]);
  }
  if (!procLast) return std::nullopt;
  return hides;
}

std::optional<bool> procHidesOtherUsers() {
  std::ifstream in("/proc/self/mountinfo", std::ios::binary);
  if (!in) return std::nullopt;
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return procHidesOtherUsers(text);
}

}  // namespace jc
