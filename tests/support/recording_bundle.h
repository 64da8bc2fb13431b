// A bundle that answers from another one and remembers what it was asked:
// how often each key was translated and which layouts were looked up. Layouts
// can be swapped for test files by name.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plugin/host.h"

namespace jc::test {

class RecordingBundle final : public Bundle {
 public:
  explicit RecordingBundle(std::shared_ptr<const Bundle> inner) : inner_(std::move(inner)) {}

  std::optional<std::filesystem::path> pathForResource(std::string_view name,
                                                       std::string_view type) const override {
    return inner_->pathForResource(name, type);
  }
  std::optional<std::filesystem::path> layoutPath(std::string_view name) const override {
    layoutsAsked_.emplace_back(name);
    if (const auto it = layoutOverrides.find(std::string(name)); it != layoutOverrides.end())
      return it->second;
    return inner_->layoutPath(name);
  }
  std::u16string localizedString(std::u16string_view key) const override {
    ++translations_[std::u16string(key)];
    return inner_->localizedString(key);
  }

  int translations(std::u16string_view key) const {
    const auto it = translations_.find(std::u16string(key));
    return it == translations_.end() ? 0 : it->second;
  }
  const std::vector<std::string>& layoutsAsked() const { return layoutsAsked_; }

  // Layout name ("JobControl2") to the file loaded in its place.
  std::map<std::string, std::filesystem::path> layoutOverrides;

 private:
  std::shared_ptr<const Bundle> inner_;
  mutable std::map<std::u16string, int> translations_;
  mutable std::vector<std::string> layoutsAsked_;
};

}  // namespace jc::test
