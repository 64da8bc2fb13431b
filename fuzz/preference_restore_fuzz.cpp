// Feeds arbitrary bytes to a real panel as the printer's stored preferences:
// the panel reads them when it is made, restores from them, saves and, at
// Print, writes its values back into the same file. None of it may crash, and
// the file it leaves must read back as a dictionary.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <system_error>

#include "fuzz/fuzz_dialog.h"
#include "prefs/plist_xml_reader.h"

namespace {

constexpr char kDomain[] = "korvel.mfp.Sample_MFP";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static fuzz_dialog::Dialog dialog("preference-restore");
  dialog.resetPreferences();
  jc::FileDomainStore store(dialog.folder.path / "prefs");
  const std::filesystem::path file = store.fileFor(kDomain);
  std::error_code ignored;
  std::filesystem::create_directories(file.parent_path(), ignored);
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }

  fuzz_dialog::FuzzHost host(dialog.ppd.get());
  {
    jc::KorvelPrintPdeVx418JC panel(&host, dialog.env);
    if (!panel.panelView()) std::abort();
    panel.willShow();
    panel.restoreValuesAndReturnError(nullptr);
    panel.saveValuesAndReturnError(nullptr);
    panel.shouldPrint();
  }
  const jc::PlistPtr stored = store.read(kDomain);
  if (stored && plist_get_node_type(stored.get()) != PLIST_DICT) std::abort();
  return 0;
}
