// Feeds arbitrary bytes to the command line's settings-file reader. It must
// answer entries or refuse the file with a usage error, never crash; entries
// it answers must survive being written out and read again unchanged.
#include <stdlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "fuzz/fuzz_folder.h"
#include "hosts/cli/cli_options.h"
#include "hosts/cli/settings_file.h"

namespace {

namespace fs = std::filesystem;

using Entries = std::vector<std::pair<std::string, std::string>>;

Entries entriesOf(const jc::PrintSettings& settings) {
  Entries out;
  for (int i = 0; i < settings.count(); ++i)
    out.emplace_back(settings.options()[i].name, settings.options()[i].value);
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FuzzFolder folder("settings");
  const fs::path file = folder.path / "settings.json";
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }

  jc::PrintSettings settings;
  bool read = true;
  try {
    jc::cli::readSettingsFile(file, settings);
  } catch (const jc::cli::UsageError&) {
    read = false;
  }
  if (read) {
    const Entries first = entriesOf(settings);
    jc::cli::writeSettingsFile(file, settings);
    jc::PrintSettings again;
    jc::cli::readSettingsFile(file, again);
    if (entriesOf(again) != first) std::abort();
  }

  std::error_code ignored;
  fs::remove(file, ignored);
  return 0;
}
