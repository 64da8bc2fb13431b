#include "hosts/common/control_kind.h"

namespace jc {

std::optional<ControlKind> controlKindOfClass(std::string_view cls) {
  if (cls == "QTabWidget") return ControlKind::TabView;
  if (cls == "QGroupBox") return ControlKind::Box;
  if (cls == "QCheckBox") return ControlKind::CheckBox;
  if (cls == "QRadioButton") return ControlKind::RadioCell;
  if (cls == "QLabel") return ControlKind::Label;
  if (cls == "QLineEdit") return ControlKind::EditField;
  if (cls == "QComboBox") return ControlKind::PopUp;
  if (cls == "QPushButton") return ControlKind::PushButton;
  if (cls == "QProgressBar") return ControlKind::Progress;
  return std::nullopt;
}

}  // namespace jc
