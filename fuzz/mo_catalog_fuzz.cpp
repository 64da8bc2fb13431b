// Feeds arbitrary bytes to the message-catalogue reader as a .mo file. It
// must never crash nor read outside the bytes; the header entry is never a
// translation, and the catalogue read from a file of the bytes is the one
// read from the bytes themselves.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#include "fuzz/fuzz_folder.h"
#include "platform/mo_catalog.h"

namespace {

namespace fs = std::filesystem;

bool sameLookup(const jc::MoCatalog& a, const jc::MoCatalog& b, std::string_view key) {
  const std::string* x = a.find(key);
  const std::string* y = b.find(key);
  return x && y ? *x == *y : x == y;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FuzzFolder folder("mo");
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const jc::MoCatalog catalog = jc::MoCatalog::fromBytes(bytes);
  if (catalog.find("") != nullptr) std::abort();

  const fs::path file = folder.path / "messages.mo";
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  const jc::MoCatalog fromFile = jc::MoCatalog::fromFile(file);
  if (fromFile.size() != catalog.size()) std::abort();
  // Keys the panel's own lookups ask for, and one taken from the input.
  for (std::string_view key :
       {std::string_view("OK"), std::string_view("file"), bytes.substr(0, 8)})
    if (!sameLookup(catalog, fromFile, key)) std::abort();

  // A new file each time: rewriting a truncated one makes the file system
  // flush it, which would slow every run down to the disk's pace.
  std::error_code ignored;
  fs::remove(file, ignored);
  return 0;
}
