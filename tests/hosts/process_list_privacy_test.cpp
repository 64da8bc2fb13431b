// Whether /proc hides other users' processes, read from mountinfo as the
// kernel writes it.
#include "hosts/common/process_list_privacy.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace jc::test {
namespace {

struct MountCase {
  const char* what;
  std::string mountinfo;
  std::optional<bool> hides;
};

const std::string kRoot = "21 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n";

TEST(ProcHidesOtherUsersTest, ReadsTheHidepidOfTheLastProcMountAtProc) {
  const std::vector<MountCase> cases = {
      {"no option", kRoot + "22 27 0:21 / /proc rw,relatime - proc proc rw\n", false},
      {"invisible, with a group and optional fields",
       kRoot + "22 1 0:21 / /proc rw,nosuid shared:12 master:3 - proc proc rw,gid=4,"
               "hidepid=invisible\n",
       true},
      {"2 as older kernels write it", "22 1 0:21 / /proc rw - proc proc rw,hidepid=2", true},
      {"noaccess", "22 1 0:21 / /proc rw - proc proc rw,hidepid=noaccess\n", true},
      {"ptraceable", "22 1 0:21 / /proc rw - proc proc rw,hidepid=ptraceable\n", true},
      {"off", "22 1 0:21 / /proc rw - proc proc rw,hidepid=off\n", false},
      {"0", "22 1 0:21 / /proc rw - proc proc rw,hidepid=0\n", false},
      {"a later mount covers an earlier one",
       "22 1 0:21 / /proc rw - proc proc rw,hidepid=2\n"
       "40 22 0:35 / /proc rw - proc proc rw\n",
       false},
      {"a hiding proc elsewhere only",
       kRoot + "50 21 0:40 / /srv/proc rw - proc proc rw,hidepid=2\n", std::nullopt},
      {"no proc at /proc", kRoot + "22 1 0:21 / /proc rw - tmpfs none rw\n", std::nullopt},
      {"a line cut short", "22 1 0:21 / /proc rw - proc\n", std::nullopt},
      {"nothing", "", std::nullopt},
  };
  for (const MountCase& c : cases) EXPECT_EQ(procHidesOtherUsers(c.mountinfo), c.hides) << c.what;
}

TEST(ProcHidesOtherUsersTest, ThisMachineAnswers) {
  EXPECT_TRUE(procHidesOtherUsers().has_value());
}

}  // namespace
}  // namespace jc::test
