#include "hosts/common/outlet_table.h"

namespace jc {

bool takesFocus(const Control& control) {
  if (control.isHidden()) return false;
  const ControlKind kind = control.kind();
  return (kind != ControlKind::Label && kind != ControlKind::EditField) || control.isSelectable();
}

}  // namespace jc
