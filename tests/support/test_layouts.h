// Layouts for panel tests: the bundle's own layouts with some outlets taken
// out, small hand-written ones, and a bundle that loads one of them whatever
// layout the panel asks for.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plugin/host.h"

namespace jc::test {

// Answers every layout name with `layout`; resources and texts come from `inner`.
class OneLayoutBundle final : public Bundle {
 public:
  OneLayoutBundle(std::shared_ptr<const Bundle> inner, std::filesystem::path layout)
      : inner_(std::move(inner)), layout_(std::move(layout)) {}

  std::optional<std::filesystem::path> pathForResource(std::string_view name,
                                                       std::string_view type) const override {
    return inner_->pathForResource(name, type);
  }
  std::optional<std::filesystem::path> layoutPath(std::string_view) const override {
    return layout_;
  }
  std::u16string localizedString(std::u16string_view key) const override {
    return inner_->localizedString(key);
  }

 private:
  std::shared_ptr<const Bundle> inner_;
  std::filesystem::path layout_;
};

// The file of the build's layout `layoutName` ("JobControl5").
std::filesystem::path bundleLayoutPath(std::string_view layoutName);

// Writes a copy of the build's layout `layoutName` into `dir` in which the
// outlets named in `absent` carry another name: their controls are still in
// the view, but the panel finds none of them. A matrix is renamed together
// with its cells' references to it. Answers the new file.
std::filesystem::path layoutWithout(const std::filesystem::path& dir, std::string_view layoutName,
                                    const std::vector<std::string>& absent);

// Writes `fileName` into `dir`: a layout whose top-level widget holds
// `widgets` (Qt Designer XML of <item> elements) and whose <buttongroups>
// holds `buttonGroups`.
std::filesystem::path writeLayout(const std::filesystem::path& dir, std::string_view fileName,
                                  std::string_view widgets, std::string_view buttonGroups = {});

// The panel's outlet names, in their declared order.
const std::vector<std::string>& panelOutletNames();

}  // namespace jc::test
