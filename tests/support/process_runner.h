// Runs a program to its end with a chosen environment and captures what it
// wrote and how it ended.
#pragma once

#include <sys/types.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace jc::test {

struct ProcessResult {
  int exitStatus = -1;  // the exit status; -1 when the program did not exit normally
  std::string out;
  std::string err;
};

// `args[0]` is the program's path. `environment` changes the caller's
// environment for the child: a value sets the variable, none removes it.
// `input` is the child's standard input. `umask`, when set, is the child's
// file mode creation mask; otherwise it keeps the caller's.
ProcessResult runProcess(const std::vector<std::string>& args,
                         const std::map<std::string, std::optional<std::string>>& environment = {},
                         const std::string& input = {}, std::optional<mode_t> umask = {});

}  // namespace jc::test
