// Feeds arbitrary bytes to the layout reader, in memory and through the
// in-memory toolkit as a layout file. Neither may crash; both must agree on
// whether the layout is read, and every control a loaded view names must be
// found under its name.
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
#include "hosts/headless/headless_toolkit.h"
#include "hosts/headless/ui_file.h"

namespace {

namespace fs = std::filesystem;

void checkView(const jc::HeadlessView& view) {
  for (const std::string& name : view.outletNames())
    if (view.outlet(name) == nullptr) std::abort();
  for (const auto& control : view.controls())
    if (!view.contains(control.get())) std::abort();
  (void)view.snapshot();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FuzzFolder folder("ui");
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const bool parsed = jc::parseUiFile(bytes).has_value();

  const fs::path file = folder.path / "layout.ui";
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  jc::HeadlessToolkit toolkit;
  const auto view = toolkit.loadHeadlessLayout(file, nullptr);
  if (parsed != (view != nullptr)) std::abort();
  if (view) checkView(*view);

  std::error_code ignored;
  fs::remove(file, ignored);
  return 0;
}
