#include "soap/response_file.h"

#include <sys/stat.h>

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

}  // namespace

std::filesystem::path responseFilePath() {
  const char* dir = nonEmptyEnv("XDG_RUNTIME_DIR");
  if (!dir) dir = nonEmptyEnv("TMPDIR");
  if (!dir) dir = "/tmp/";
  return std::filesystem::path(dir) / "vwxyz.xml";
}

bool writeResponseFile(const std::filesystem::path& file, std::string_view bytes) {
  return !replaceFileAtomically(file, bytes, S_IRUSR | S_IWUSR);
}

}  // namespace jc
