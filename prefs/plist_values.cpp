#include "prefs/plist_values.h"

#include <cstdlib>

#include "platform/text.h"

namespace jc::plist {

plist_t dict(plist_t parent, const char* key) {
  if (!parent || plist_get_node_type(parent) != PLIST_DICT) return nullptr;
  plist_t node = plist_dict_get_item(parent, key);
  return node && plist_get_node_type(node) == PLIST_DICT ? node : nullptr;
}

std::optional<std::u16string> string(plist_t d, const char* key) {
  if (!d || plist_get_node_type(d) != PLIST_DICT) return std::nullopt;
  plist_t node = plist_dict_get_item(d, key);
  if (!node || plist_get_node_type(node) != PLIST_STRING) return std::nullopt;
  char* text = nullptr;
  plist_get_string_val(node, &text);
  if (!text) return std::nullopt;
  std::u16string value = fromUtf8(text);
  std::free(text);
  return value;
}

std::optional<bool> boolean(plist_t d, const char* key) {
  if (!d || plist_get_node_type(d) != PLIST_DICT) return std::nullopt;
  plist_t node = plist_dict_get_item(d, key);
  if (!node || plist_get_node_type(node) != PLIST_BOOLEAN) return std::nullopt;
  std::uint8_t value = 0;
  plist_get_bool_val(node, &value);
  return value != 0;
}

std::optional<std::int32_t> int32(plist_t d, const char* key) {
  if (!d || plist_get_node_type(d) != PLIST_DICT) return std::nullopt;
  plist_t node = plist_dict_get_item(d, key);
  if (!node || plist_get_node_type(node) != PLIST_UINT) return std::nullopt;
  std::uint64_t raw = 0;
  plist_get_uint_val(node, &raw);
  // Integers are kept as 64-bit two's complement.
  const auto value = static_cast<std::int64_t>(raw);
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

void setString(plist_t d, const char* key, std::u16string_view value) {
  const std::string utf8 = toUtf8(value);
  plist_dict_set_item(d, key, plist_new_string(utf8.c_str()));
}

void setAsciiString(plist_t d, const char* key, std::string_view value) {
  const std::string text(value);
  plist_dict_set_item(d, key, plist_new_string(text.c_str()));
}

void setBoolean(plist_t d, const char* key, bool value) {
  plist_dict_set_item(d, key, plist_new_bool(value ? 1 : 0));
}

void setInt32(plist_t d, const char* key, std::int32_t value) {
  plist_dict_set_item(d, key,
                      plist_new_uint(static_cast<std::uint64_t>(static_cast<std::int64_t>(value))));
}

}  // namespace jc::plist
