// The plug-in's own resources: files, layouts and string tables.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace jc {

// The plug-in's own resources.
class Bundle {
 public:
  virtual ~Bundle() = default;
  // The file of resource `name` of type `type` ("listfiles", "xml"), or none.
  virtual std::optional<std::filesystem::path> pathForResource(std::string_view name,
                                                               std::string_view type) const = 0;
  // The layout file for a layout name ("JobControl2"), or none.
  virtual std::optional<std::filesystem::path> layoutPath(std::string_view name) const = 0;
  // The translation of `key` in the default table; the key itself when none.
  virtual std::u16string localizedString(std::u16string_view key) const = 0;
};

}  // namespace jc
