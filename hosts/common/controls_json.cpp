#include "hosts/common/controls_json.h"

#include "hosts/common/control_snapshot.h"
#include "platform/text.h"

namespace jc {

const char* controlKindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::TabView:
      return "tabView";
    case ControlKind::Box:
      return "box";
    case ControlKind::CheckBox:
      return "checkBox";
    case ControlKind::RadioMatrix:
      return "radioMatrix";
    case ControlKind::RadioCell:
      return "radioCell";
    case ControlKind::Label:
      return "label";
    case ControlKind::EditField:
      return "editField";
    case ControlKind::PopUp:
      return "popUp";
    case ControlKind::PushButton:
      return "pushButton";
    case ControlKind::Progress:
      return "progress";
    case ControlKind::Other:
      return "other";
  }
  return "other";
}

std::string iconName(std::uint32_t code) {
  if (code == 0) return {};
  std::string name;
  for (int shift = 24; shift >= 0; shift -= 8) name.push_back(char((code >> shift) & 0xFF));
  return name;
}

namespace {

nlohmann::ordered_json itemsJson(const std::vector<ItemSnapshot>& items) {
  nlohmann::ordered_json out = nlohmann::ordered_json::array();
  for (const ItemSnapshot& item : items) {
    if (item.separator) {
      out.push_back({{"separator", true}});
      continue;
    }
    nlohmann::ordered_json i = {{"title", toUtf8(item.title)}};
    if (item.iconType) i["icon"] = iconName(item.iconType);
    out.push_back(std::move(i));
  }
  return out;
}

}  // namespace

nlohmann::ordered_json controlsJson(const View& view) {
  nlohmann::ordered_json controls = nlohmann::ordered_json::object();
  for (const ControlSnapshot& c : snapshotControls(view)) {
    nlohmann::ordered_json entry = {{"kind", controlKindName(c.kind)}, {"enabled", c.enabled}};
    if (c.state) entry["state"] = *c.state;
    if (c.selectedRow) entry["selectedRow"] = *c.selectedRow;
    if (c.selectedIndex) entry["selectedIndex"] = *c.selectedIndex;
    if (c.items) entry["items"] = itemsJson(*c.items);
    if (c.text) entry["text"] = toUtf8(*c.text);
    if (c.hidden) entry["hidden"] = true;
    if (c.editable) entry["editable"] = *c.editable;
    if (c.animating) entry["animating"] = *c.animating;
    controls[c.name] = std::move(entry);
  }
  return controls;
}

nlohmann::ordered_json focusJson(View& view) {
  const Control* focus = view.window().firstResponder();
  return focus ? nlohmann::ordered_json(focus->name()) : nlohmann::ordered_json(nullptr);
}

}  // namespace jc
