// Feeds arbitrary bytes to the message-catalogue reader as a .mo file. It
// must never crash nor read outside the bytes; the header entry is never a
// translation, and a catalogue read from a file is the one read from its bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/mo_catalog.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const jc::MoCatalog catalog = jc::MoCatalog::fromBytes(bytes);
  if (catalog.find("") != nullptr) std::abort();
  if (catalog.empty() != (catalog.size() == 0)) std::abort();
  // Keys that the panel's own lookups ask for, and one taken from the input.
  for (std::string_view key :
       {std::string_view("OK"), std::string_view("Cancel"), bytes.substr(0, 16)})
    if (const std::string* text = catalog.find(key); text && text->data() == nullptr) std::abort();
  return 0;
}
