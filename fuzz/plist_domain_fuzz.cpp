// Feeds arbitrary bytes to the preference store as a domain file. Reading must
// answer a dictionary or nothing and never crash; a dictionary it answers must
// survive being written out and read again, as every update does with it.
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
#include "prefs/domain_store.h"
#include "prefs/plist_xml_reader.h"

namespace {

namespace fs = std::filesystem;

constexpr char kDomain[] = "korvel.mfp.Fuzz";

std::string xmlOf(plist_t node) {
  char* xml = nullptr;
  uint32_t length = 0;
  plist_to_xml(node, &xml, &length);
  std::string text(xml ? xml : "", xml ? length : 0);
  if (xml) plist_to_xml_free(xml);
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FuzzFolder folder("plist");
  static jc::FileDomainStore store(folder.path);
  const fs::path file = store.fileFor(kDomain);
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }

  const jc::PlistPtr domain = store.read(kDomain);
  if (domain) {
    if (plist_get_node_type(domain.get()) != PLIST_DICT) std::abort();
    if (jc::plistNestingDepth(domain.get()) > jc::kMaxPlistNesting) std::abort();
    const std::string written = xmlOf(domain.get());
    const jc::PlistPtr again = jc::parsePlistXml(written);
    if (!again || xmlOf(again.get()) != written) std::abort();
  }

  std::error_code ignored;
  fs::remove(file, ignored);
  fs::remove(fs::path(file.string() + ".corrupt"), ignored);
  return 0;
}
