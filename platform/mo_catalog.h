// A gettext message catalogue (.mo file), read without the process-global
// gettext state.
//
// The file's header names its byte order through the magic number; both
// orders are read. Every table entry and string is bounds-checked against the
// file: a file that is cut short or malformed anywhere reads as an empty
// catalogue. Keys and translations are the file's bytes (UTF-8 for the
// panel's catalogues); a key with a plural form is found by its singular text
// and answers the first translation.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>

namespace jc {

class MoCatalog {
 public:
  // Larger files are not catalogues of ours; they read as empty.
  static constexpr std::size_t kMaxFileSize = 16 * 1024 * 1024;

  MoCatalog() = default;

  // Reads the file; empty when it is missing, unreadable or malformed.
  static MoCatalog fromFile(const std::filesystem::path& file);
  // Parses the bytes of a .mo file; empty when they are malformed.
  static MoCatalog fromBytes(std::string_view bytes);

  // The translation of `key`, or null when the catalogue has none. The header
  // entry (the empty key) is not a translation and is never found.
  const std::string* find(std::string_view key) const;

  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  std::unordered_map<std::string, std::string, Hash, std::equal_to<>> entries_;
};

}  // namespace jc
