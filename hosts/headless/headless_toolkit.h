// The in-memory toolkit: reads the panel's Qt Designer layouts into controls
// that hold their state in memory. The command-line host and the tests use it
// to play the user's part without a display.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "hosts/headless/headless_control.h"
#include "hosts/headless/headless_view.h"
#include "ui/toolkit.h"

namespace jc {

struct AlertRecord {
  std::u16string title;
  std::u16string message;
  std::u16string button;
  bool operator==(const AlertRecord&) const = default;
};

class HeadlessToolkit : public Toolkit {
 public:
  HeadlessToolkit() = default;
  // Alerts are also written to `out`, one message a line.
  explicit HeadlessToolkit(std::ostream& out) : out_(&out) {}

  std::unique_ptr<View> loadLayout(const std::filesystem::path& file, ActionTarget* owner) override;
  // The same, with the in-memory view's own type.
  std::unique_ptr<HeadlessView> loadHeadlessLayout(const std::filesystem::path& file,
                                                   ActionTarget* owner);
  ImagePtr systemIcon(std::uint32_t typeCode, int width, int height) override;
  // Records the alert and returns at once, as if dismissed with its button.
  void alert(const std::u16string& title, const std::u16string& message,
             const std::u16string& button) override;

  const std::vector<AlertRecord>& alerts() const { return alerts_; }
  // Why the last load failed; empty after a successful one.
  const std::string& lastError() const { return lastError_; }

 private:
  std::ostream* out_ = nullptr;
  std::vector<AlertRecord> alerts_;
  std::string lastError_;
};

}  // namespace jc
