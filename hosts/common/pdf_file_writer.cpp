#include "hosts/common/pdf_file_writer.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <fstream>
#include <string_view>

extern char** environ;

namespace jc {
namespace {

namespace fs = std::filesystem;

constexpr const char* kCupsFilter = "/usr/sbin/cupsfilter";

// Runs cupsfilter on `input` with its standard output into `output`; its
// exit status, or -1 when it could not be started.
int convertWithCups(const fs::path& input, const fs::path& output) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0666);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::array<char*, 5> argv = {const_cast<char*>(kCupsFilter), const_cast<char*>("-m"),
                               const_cast<char*>("application/pdf"),
                               const_cast<char*>(input.c_str()), nullptr};
  pid_t child = 0;
  const int started = posix_spawn(&child, kCupsFilter, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (started != 0) return -1;
  int status = 0;
  while (waitpid(child, &status, 0) < 0)
    if (errno != EINTR) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void copyWhole(const fs::path& input, const fs::path& output) {
  std::error_code ec;
  fs::copy_file(input, output, fs::copy_options::overwrite_existing, ec);
  if (ec) throw HostError(Message("cannot write {0}: {1}", {output.string(), ec.message()}));
}

}  // namespace

std::string pdfFileNameFor(const std::string& title) {
  const fs::path name = fs::path(title).filename();
  const std::string stem =
      name.has_extension() && name.stem() != "" ? name.stem().string() : name.string();
  return (stem.empty() ? std::string("print") : stem) + ".pdf";
}

bool isPdfFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::array<char, 5> start{};
  return in.read(start.data(), start.size()) && std::string_view(start.data(), 5) == "%PDF-";
}

void writePdfFile(const std::vector<std::string>& files, const fs::path& output) {
  if (files.size() != 1)
    throw HostError(
        Message("Print to File writes one file: {0} files were given; print them to "
                "a printer, or one at a time",
                {std::to_string(files.size())}));
  const fs::path input = files.front();
  std::error_code ec;
  if (fs::equivalent(input, output, ec)) return;
  const fs::path partial = output.parent_path() / ("." + output.filename().string() + ".part");
  try {
    if (isPdfFile(input)) {
      copyWhole(input, partial);
    } else if (const int status = convertWithCups(input, partial);
               status != 0 || !isPdfFile(partial)) {
      throw HostError(
          status < 0
              ? Message("CUPS's filters are not installed (cupsfilter): {0} cannot be made a PDF",
                        {input.string()})
              : Message("CUPS's filters cannot make {0} a PDF file (cupsfilter exit status {1})",
                        {input.string(), std::to_string(status)}));
    }
    fs::rename(partial, output, ec);
    if (ec) throw HostError(Message("cannot write {0}: {1}", {output.string(), ec.message()}));
  } catch (...) {
    fs::remove(partial, ec);
    throw;
  }
}

}  // namespace jc
