#include "prefs/preference_snapshot.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace jc {
namespace {

std::string xmlOf(plist_t node) {
  char* xml = nullptr;
  std::uint32_t length = 0;
  plist_to_xml(node, &xml, &length);
  std::string text(xml ? xml : "", xml ? length : 0);
  if (xml) plist_to_xml_free(xml);
  return text;
}

std::uint64_t maskOf(plist_t node) {
  std::uint64_t mask = 0;
  if (node && plist_get_node_type(node) == PLIST_UINT) plist_get_uint_val(node, &mask);
  return mask;
}

// The keys of a dictionary, in its order.
std::vector<std::string> keysOf(plist_t dict) {
  std::vector<std::string> keys;
  plist_dict_iter iter = nullptr;
  plist_dict_new_iter(dict, &iter);
  if (!iter) return keys;
  for (;;) {
    char* key = nullptr;
    plist_t value = nullptr;
    plist_dict_next_item(dict, iter, &key, &value);
    if (!value) break;
    if (key) keys.emplace_back(key);
    std::free(key);
  }
  std::free(iter);
  return keys;
}

}  // namespace

void PreferenceSnapshot::remember(plist_t values) {
  for (const std::string& key : keysOf(values)) {
    if (!shown_.count(key))
      shown_.emplace(key, plist_copy(plist_dict_get_item(values, key.c_str())));
  }
}

void PreferenceSnapshot::mergeChanges(plist_t mine, plist_t stored, const char* maskKey) const {
  for (const std::string& key : keysOf(mine)) {
    plist_t value = plist_dict_get_item(mine, key.c_str());
    const auto shown = shown_.find(key);
    if (key == maskKey) {
      const std::uint64_t ours = maskOf(value);
      const std::uint64_t changed =
          shown == shown_.end() ? ~std::uint64_t{0} : ours ^ maskOf(shown->second.get());
      const std::uint64_t theirs = maskOf(plist_dict_get_item(stored, key.c_str()));
      plist_dict_set_item(stored, key.c_str(),
                          plist_new_uint((theirs & ~changed) | (ours & changed)));
    } else if (shown == shown_.end() || xmlOf(value) != xmlOf(shown->second.get()) ||
               !plist_dict_get_item(stored, key.c_str())) {
      plist_dict_set_item(stored, key.c_str(), plist_copy(value));
    }
  }
}

}  // namespace jc
