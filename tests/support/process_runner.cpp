#include "support/process_runner.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <thread>

#include "support/file_text.h"
#include "support/temp_dir.h"

namespace jc::test {
namespace {

// The caller's environment with `changes` made, as "NAME=value" entries.
std::vector<std::string> childEnvironment(const ProcessEnvironment& changes) {
  std::map<std::string, std::string> vars;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    const auto eq = entry.find('=');
    if (eq != std::string::npos) vars[entry.substr(0, eq)] = entry.substr(eq + 1);
  }
  for (const auto& [name, value] : changes) {
    if (value)
      vars[name] = *value;
    else
      vars.erase(name);
  }
  std::vector<std::string> entries;
  for (const auto& [name, value] : vars) entries.push_back(name + "=" + value);
  return entries;
}

// Starts `args` with `in` as its standard input and its output going to the
// files `out` and `err`. `in` stays open in the caller.
pid_t start(const std::vector<std::string>& args, const ProcessEnvironment& environment, int in,
            const std::filesystem::path& outFile, const std::filesystem::path& errFile,
            std::optional<mode_t> umask) {
  if (args.empty()) throw std::invalid_argument("a process needs a program");
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  // Made before the fork.
  std::vector<std::string> entries = childEnvironment(environment);
  std::vector<char*> envp;
  for (std::string& entry : entries) envp.push_back(entry.data());
  envp.push_back(nullptr);

  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    const int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0)
      _exit(127);
    if (umask) ::umask(*umask);
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  return pid;
}

ProcessResult reap(pid_t pid, const std::filesystem::path& outFile,
                   const std::filesystem::path& errFile) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) throw std::runtime_error("waitpid failed");
  }
  ProcessResult result;
  result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = readFile(outFile);
  result.err = readFile(errFile);
  return result;
}

}  // namespace

ProcessResult runProcess(const std::vector<std::string>& args,
                         const ProcessEnvironment& environment, const std::string& input,
                         std::optional<mode_t> umask) {
  if (args.empty()) throw std::invalid_argument("runProcess needs a program");
  // Files rather than pipes: nothing to drain while the child runs.
  TempDir dir;
  const auto inFile = dir.path() / "stdin";
  const auto outFile = dir.path() / "stdout";
  const auto errFile = dir.path() / "stderr";
  writeFile(inFile, input);
  const int in = open(inFile.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) throw std::runtime_error("the input file cannot be opened");
  const pid_t pid = start(args, environment, in, outFile, errFile, umask);
  close(in);
  return reap(pid, outFile, errFile);
}

struct RunningProcess::Files {
  TempDir dir;
  std::filesystem::path out = dir.path() / "stdout";
  std::filesystem::path err = dir.path() / "stderr";
};

RunningProcess::RunningProcess(const std::vector<std::string>& args,
                               const ProcessEnvironment& environment, std::optional<mode_t> umask)
    : files_(std::make_unique<Files>()) {
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  try {
    pid_ = start(args, environment, pipeEnds[0], files_->out, files_->err, umask);
  } catch (...) {
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    throw;
  }
  close(pipeEnds[0]);
  input_ = pipeEnds[1];
}

RunningProcess::~RunningProcess() {
  if (input_ >= 0) close(input_);
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
}

// /proc/PID/syscall starts with the number of the call the process is blocked
// in and its first argument: a read of descriptor 0.
bool RunningProcess::waitUntilReadingInput(std::chrono::milliseconds limit) {
  const std::string reading = std::to_string(SYS_read) + " 0x0 ";
  const std::string file = "/proc/" + std::to_string(pid_) + "/syscall";
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    if (readFileIfAny(file).value_or("").starts_with(reading)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

void RunningProcess::finishInput(const std::string& text) {
  std::string_view rest = text;
  while (!rest.empty() && input_ >= 0) {
    const ssize_t written = write(input_, rest.data(), rest.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) break;
    rest.remove_prefix(static_cast<std::size_t>(written));
  }
  if (input_ >= 0) close(input_);
  input_ = -1;
}

ProcessResult RunningProcess::wait() {
  if (input_ >= 0) finishInput({});
  const ProcessResult result = reap(pid_, files_->out, files_->err);
  pid_ = -1;
  return result;
}

}  // namespace jc::test
