// A layout loaded by the in-memory toolkit: its controls in layout order, its
// outlets by name, its window, what was odd about the file, and a plain
// snapshot of every control for dumps.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "hosts/common/control_snapshot.h"
#include "hosts/common/outlet_table.h"
#include "hosts/headless/headless_control.h"
#include "hosts/headless/ui_file.h"
#include "ui/toolkit.h"

namespace jc {

class HeadlessView final : public View {
 public:
  // Builds the controls of a parsed layout; user actions go to `owner`.
  HeadlessView(const UiFile& file, ActionTarget* owner);
  HeadlessView(const HeadlessView&) = delete;
  HeadlessView& operator=(const HeadlessView&) = delete;

  Control* outlet(std::string_view name) const override { return control(name); }
  std::vector<std::string> outletNames() const override;
  Window& window() override { return window_; }

  HeadlessControl* control(std::string_view name) const;
  const std::vector<std::unique_ptr<HeadlessControl>>& controls() const {
    return outlets_.controls();
  }
  // The object name of the top-level widget ("panelView").
  const std::string& rootName() const { return rootName_; }
  HeadlessWindow& headlessWindow() { return window_; }
  // The named control that has the keyboard focus, or null.
  HeadlessControl* focusedControl() const;
  bool contains(const Control* control) const;

  // What the loader noticed but did not refuse: an edit field without a
  // non-zero tag, tags used twice, a label with a tag, names used twice,
  // cells of undeclared button groups.
  const std::vector<std::string>& warnings() const { return warnings_; }

  // Every named control, in layout order.
  std::vector<ControlSnapshot> snapshot() const;

 private:
  friend class HeadlessViewBuilder;

  HeadlessWindow window_;
  std::string rootName_;
  OutletTable<HeadlessControl> outlets_;
  std::vector<std::string> warnings_;
};

}  // namespace jc
