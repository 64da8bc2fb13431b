#include "prefs/preference_snapshot.h"

#include <openssl/evp.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace jc {
namespace {

struct DigestContextFree {
  void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};

// The SHA-256 digest of the XML text `write` produces: values are compared by
// it, so that a large one need not be kept as a copy.
std::array<unsigned char, 32> digestOf(const std::function<void(PlistXmlWriter&)>& write) {
  const std::unique_ptr<EVP_MD_CTX, DigestContextFree> context(EVP_MD_CTX_new());
  std::array<unsigned char, 32> digest{};
  if (!context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1) return digest;
  PlistXmlWriter writer([&context](std::string_view piece) {
    EVP_DigestUpdate(context.get(), piece.data(), piece.size());
  });
  write(writer);
  writer.finish();
  EVP_DigestFinal_ex(context.get(), digest.data(), nullptr);
  return digest;
}

std::uint64_t integerOf(plist_t node) {
  std::uint64_t value = 0;
  if (node && plist_get_node_type(node) == PLIST_UINT) plist_get_uint_val(node, &value);
  return value;
}

// The items of a dictionary, in its order.
std::vector<std::pair<std::string, plist_t>> itemsOf(plist_t dict) {
  std::vector<std::pair<std::string, plist_t>> items;
  plist_dict_iter iter = nullptr;
  plist_dict_new_iter(dict, &iter);
  if (!iter) return items;
  for (;;) {
    char* key = nullptr;
    plist_t value = nullptr;
    plist_dict_next_item(dict, iter, &key, &value);
    if (!value) break;
    if (key) items.emplace_back(key, value);
    std::free(key);
  }
  std::free(iter);
  return items;
}

}  // namespace

void PreferenceSnapshot::remember(const PreferenceValues& values) {
  for (const auto& [key, node] : itemsOf(values.nodes.get())) {
    if (shown_.count(key)) continue;
    const auto digest = digestOf([node = node](PlistXmlWriter& w) { w.node(node); });
    shown_.emplace(key, Shown{digest, integerOf(node)});
  }
  for (const auto& [key, write] : values.streamed) {
    if (!shown_.count(key)) shown_.emplace(key, Shown{digestOf(write), 0});
  }
}

bool PreferenceSnapshot::changedSinceRead(const std::string& key,
                                          const StreamedValue& write) const {
  const auto shown = shown_.find(key);
  return shown == shown_.end() || digestOf(write) != shown->second.digest;
}

bool PreferenceSnapshot::mergeChanges(const PreferenceValues& mine, plist_t stored,
                                      const char* maskKey, StreamedValues& streamed) const {
  bool merged = false;
  // Puts `mine` in under `key` when it differs both from what was read and
  // from what is stored now.
  auto merge = [&](const std::string& key, const StreamedValue& write, auto&& put) {
    plist_t now = plist_dict_get_item(stored, key.c_str());
    const auto shown = shown_.find(key);
    const auto digest = digestOf(write);
    if (now && shown != shown_.end() && digest == shown->second.digest) return;
    if (now && digest == digestOf([&](PlistXmlWriter& w) { w.node(now, streamed); })) return;
    put();
    merged = true;
  };
  for (const auto& [key, value] : itemsOf(mine.nodes.get())) {
    if (key == maskKey) {
      const auto shown = shown_.find(key);
      const std::uint64_t ours = integerOf(value);
      const std::uint64_t bits =
          shown == shown_.end() ? ~std::uint64_t{0} : ours ^ shown->second.integer;
      plist_t now = plist_dict_get_item(stored, key.c_str());
      const std::uint64_t theirs = integerOf(now);
      const std::uint64_t result = (theirs & ~bits) | (ours & bits);
      if (now && plist_get_node_type(now) == PLIST_UINT && result == theirs) continue;
      plist_dict_set_item(stored, key.c_str(), plist_new_uint(result));
      merged = true;
    } else {
      merge(
          key, [node = value](PlistXmlWriter& w) { w.node(node); },
          [&, name = key, node = value] {
            plist_dict_set_item(stored, name.c_str(), plist_copy(node));
          });
    }
  }
  for (const auto& [key, write] : mine.streamed) {
    merge(key, write, [&, name = key, write = write] {
      plist_t placeholder = plist_new_array();
      plist_dict_set_item(stored, name.c_str(), placeholder);
      streamed[placeholder] = write;
    });
  }
  return merged;
}

}  // namespace jc
