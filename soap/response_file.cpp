#include "soap/response_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "soap/soap_client.h"

namespace jc {

namespace {

const char* nonEmptyEnv(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? value : nullptr;
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

std::filesystem::path responseFilePath() {
  const char* dir = nonEmptyEnv("XDG_RUNTIME_DIR");
  if (!dir) dir = nonEmptyEnv("TMPDIR");
  if (!dir) dir = "/tmp/";
  return std::filesystem::path(dir) / "vwxyz.xml";
}

bool writeResponseFile(const std::filesystem::path& file, std::string_view bytes) {
  if (file.empty() || !file.has_filename()) return false;
  std::filesystem::path folder = file.parent_path();
  if (folder.empty()) folder = ".";
  // Appended piecewise: GCC 12 warns falsely (-Wrestrict) on the one-line sum at -O3.
  std::string name = ".";
  name += file.filename().string();
  name += ".XXXXXX";
  std::string temp = (folder / name).string();

  int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = ::rename(temp.c_str(), file.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

}  // namespace jc
