// The parts of a Qt Designer layout file (.ui) that the in-memory toolkit
// needs: the widget tree with each widget's properties and attributes, combo
// box items, and the named button groups.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace jc {

// One property or attribute value. Texts are UTF-8 as in the file.
struct UiValue {
  enum class Type { String, Number, Bool, Enum, Other };
  Type type = Type::Other;
  std::string text;         // String, Enum (also "set" and "cstring" values)
  std::int64_t number = 0;  // Number
  bool flag = false;        // Bool
};

struct UiWidget {
  std::string className;
  std::string name;
  std::map<std::string, UiValue, std::less<>> properties;  // the last of a name counts
  std::map<std::string, UiValue, std::less<>> attributes;  // "title" of a tab page, "buttonGroup"
  std::vector<std::string> items;                          // texts of <item> children (combo boxes)
  std::vector<UiWidget> children;  // child widgets in document order, layouts looked through

  const UiValue* property(std::string_view key) const;
  const UiValue* attribute(std::string_view key) const;
};

struct UiButtonGroup {
  std::string name;
  std::map<std::string, UiValue, std::less<>> properties;
};

struct UiFile {
  UiWidget root;
  std::vector<UiButtonGroup> buttonGroups;  // in file order
};

// Layout files larger than this are refused.
inline constexpr std::size_t kMaxUiFileSize = 4 * 1024 * 1024;

// Reads a layout file. The file is parsed without network access and without
// document type declarations (a file that has one is refused, so no entity is
// ever expanded). On failure answers none and, when `error` is given, says why.
std::optional<UiFile> readUiFile(const std::filesystem::path& file, std::string* error = nullptr);
std::optional<UiFile> parseUiFile(std::string_view bytes, std::string* error = nullptr);

}  // namespace jc
