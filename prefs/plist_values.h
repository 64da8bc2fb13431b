// Small typed accessors over libplist dictionaries.
#pragma once

#include <plist/plist.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace jc::plist {

// The dictionary under `key`, or null when missing or not a dictionary.
plist_t dict(plist_t parent, const char* key);
std::optional<std::u16string> string(plist_t dict, const char* key);
std::optional<bool> boolean(plist_t dict, const char* key);
// An integer that fits in 32 bits, signed; none otherwise.
std::optional<std::int32_t> int32(plist_t dict, const char* key);

void setString(plist_t dict, const char* key, std::u16string_view value);
void setAsciiString(plist_t dict, const char* key, std::string_view value);
void setBoolean(plist_t dict, const char* key, bool value);
void setInt32(plist_t dict, const char* key, std::int32_t value);

}  // namespace jc::plist
