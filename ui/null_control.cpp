// The control that stands for an absent one.
#include <string>

#include "ui/toolkit.h"

namespace jc {
namespace {

// Keeps no state: every operation is Control's do-nothing default.
class NullControl final : public Control {
 public:
  ControlKind kind() const override { return ControlKind::Other; }
  const std::string& name() const override { return name_; }

 private:
  const std::string name_;
};

}  // namespace

Control& nullControl() {
  static NullControl control;
  return control;
}

}  // namespace jc
