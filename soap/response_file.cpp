#include "soap/response_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/atomic_file.h"
#include "soap/soap_client.h"

namespace jc {

namespace {

const char* nonEmptyEnv(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? value : nullptr;
}

// The folder that holds the answer: one of the user's own, so that nobody
// else can plant, take or read the name.
std::filesystem::path responseFolder() {
  if (const char* runtime = nonEmptyEnv("XDG_RUNTIME_DIR")) {
    return std::filesystem::path(runtime) / "jobcontrol";
  }
  const char* temporary = nonEmptyEnv("TMPDIR");
  return std::filesystem::path(temporary ? temporary : "/tmp") /
         ("jobcontrol-" + std::to_string(::geteuid()));
}

}  // namespace

bool isPrivateFolder(const std::filesystem::path& folder) {
  struct stat info {};
  if (::lstat(folder.c_str(), &info) != 0) return false;
  return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 07777) == 0700;
}

std::filesystem::path responseFilePath() {
  const std::filesystem::path folder = responseFolder();
  // Made here when missing; whether it can be used is checked at each write.
  if (::mkdir(folder.c_str(), 0700) == 0) ::chmod(folder.c_str(), 0700);
  return folder / "vwxyz.xml";
}

bool writeResponseFile(const std::filesystem::path& file, std::string_view bytes) {
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
  if (!isPrivateFolder(folder)) return false;
  // The answer is fetched again at the next press: it needs no flush to disk.
  return !replaceFileAtomically(file, bytes, S_IRUSR | S_IWUSR, Durability::Unflushed);
}

}  // namespace jc
