// Feeds arbitrary bytes to the folder-list reader as the printer's answer. It
// must never crash; an answer that is not read, or read as a failure, leaves
// no folders behind, and every folder read is a real one of the printer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "soap/folder_list_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view xml(reinterpret_cast<const char*>(data), size);
  const jc::FolderListParse parse = jc::parseFolderListAnswer(xml);
  if (!parse.documentRead && (parse.ok || !parse.folders.empty())) std::abort();
  if (!parse.ok && !parse.folders.empty()) std::abort();
  for (const jc::FolderEntry& folder : parse.folders)
    if (folder.add) std::abort();
  return 0;
}
