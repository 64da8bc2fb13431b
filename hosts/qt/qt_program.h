// How each of our Qt programs runs: its messages under its own name, its
// version, and Qt started for it (off screen when asked, with a display
// otherwise, Qt's messages filtered and its catalogues loaded), failures said
// and ending with status 1.
#pragma once

#include <functional>
#include <string>

namespace jc::qt {

inline constexpr int kProgramFailed = 1;
inline constexpr int kProgramUsage = 2;

class QtProgram {
 public:
  explicit QtProgram(std::string name) : name_(std::move(name)) {}

  // Says `message` on the standard error under the program's name.
  int fail(int status, const std::string& message) const;
  // The program's and the panel module's versions (--version).
  int printVersion() const;
  // Starts Qt and runs `body`; its status, or kProgramFailed after a failure
  // it throws.
  int runWithQt(int& argc, char** argv, bool offscreen, const std::function<int()>& body) const;

 private:
  std::string name_;
};

}  // namespace jc::qt
