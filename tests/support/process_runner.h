// Runs a program to its end with a chosen environment and captures what it
// wrote and how it ended.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace jc::test {

struct ProcessResult {
  int exitStatus = -1;  // the exit status; -1 when the program did not exit normally
  std::string out;
  std::string err;
};

using ProcessEnvironment = std::map<std::string, std::optional<std::string>>;

// `args[0]` is the program's path. `environment` changes the caller's
// environment for the child: a value sets the variable, none removes it.
// `input` is the child's standard input. `umask`, when set, is the child's
// file mode creation mask; otherwise it keeps the caller's.
ProcessResult runProcess(const std::vector<std::string>& args,
                         const ProcessEnvironment& environment = {}, const std::string& input = {},
                         std::optional<mode_t> umask = {});

// A program started like runProcess's, whose standard input is a pipe the
// caller writes to while it runs. Left running, it is killed and reaped when
// this object goes.
class RunningProcess {
 public:
  RunningProcess(const std::vector<std::string>& args, const ProcessEnvironment& environment = {},
                 std::optional<mode_t> umask = {});
  ~RunningProcess();
  RunningProcess(const RunningProcess&) = delete;
  RunningProcess& operator=(const RunningProcess&) = delete;

  // Whether the program is blocked reading its standard input, waiting at most
  // `limit` for it to get there.
  bool waitUntilReadingInput(std::chrono::milliseconds limit);
  // Writes `text` to the program's standard input, then closes it.
  void finishInput(const std::string& text);
  // Waits for the program to end; what it wrote and how it ended.
  ProcessResult wait();

 private:
  struct Files;
  std::unique_ptr<Files> files_;
  pid_t pid_ = -1;
  int input_ = -1;
};

}  // namespace jc::test
