#include "hosts/common/control_snapshot.h"

namespace jc {
namespace {

std::vector<ItemSnapshot> tabItems(const Control& c) {
  std::vector<ItemSnapshot> tabs;
  for (int i = 0; i < c.numberOfTabViewItems(); ++i) tabs.push_back({c.tabLabel(i), false, 0});
  return tabs;
}

std::vector<ItemSnapshot> cellItems(const Control& c) {
  std::vector<ItemSnapshot> cells;
  for (int i = 0; i < c.numberOfRows(); ++i) {
    const Control* cell = c.cellAtRow(i);
    cells.push_back({cell ? cell->title() : std::u16string(), false, 0});
  }
  return cells;
}

std::vector<ItemSnapshot> menuItems(const Control& c) {
  std::vector<ItemSnapshot> items;
  for (int i = 0; i < c.numberOfItems(); ++i) {
    const MenuItem* item = c.itemAtIndex(i);
    if (!item) continue;
    items.push_back({item->title, item->separator, item->image ? item->image->iconType : 0});
  }
  return items;
}

void fillKindMembers(const Control& c, ControlSnapshot& s) {
  switch (c.kind()) {
    case ControlKind::TabView:
      s.selectedIndex = c.selectedTabIndex();
      s.items = tabItems(c);
      break;
    case ControlKind::Box:
    case ControlKind::PushButton:
      s.text = c.title();
      break;
    case ControlKind::CheckBox:
    case ControlKind::RadioCell:
      s.state = c.state();
      s.text = c.title();
      break;
    case ControlKind::RadioMatrix:
      s.selectedRow = c.selectedRow();
      s.items = cellItems(c);
      break;
    case ControlKind::Label:
      s.text = c.stringValue();
      s.tag = c.tag();
      break;
    case ControlKind::EditField: {
      const auto* facts = dynamic_cast<const ControlFacts*>(&c);
      const bool secret = facts && facts->isSecret();
      s.text = secret ? std::u16string(c.stringValue().size(), u'\u2022') : c.stringValue();
      s.editable = c.isEditable();
      s.tag = c.tag();
      break;
    }
    case ControlKind::PopUp:
      s.selectedIndex = c.indexOfSelectedItem();
      s.items = menuItems(c);
      if (const MenuItem* selected = c.itemAtIndex(c.indexOfSelectedItem()))
        s.text = selected->title;
      break;
    case ControlKind::Progress:
      s.animating = c.isAnimating();
      break;
    case ControlKind::Other:
      break;
  }
}

}  // namespace

bool isShownEnabled(const Control& c) {
  if (c.kind() == ControlKind::Label) return c.isEnabled() && c.textColor() == TextColor::Black;
  if (c.kind() == ControlKind::EditField)
    return c.isEnabled() && c.isSelectable() && c.textColor() == TextColor::Black;
  return c.isEnabled();
}

ControlSnapshot snapshotControl(const std::string& name, const Control& c) {
  ControlSnapshot s;
  s.name = name;
  s.kind = c.kind();
  if (const auto* facts = dynamic_cast<const ControlFacts*>(&c)) s.className = facts->className();
  s.enabled = isShownEnabled(c);
  s.hidden = c.isHidden();
  fillKindMembers(c, s);
  return s;
}

std::vector<ControlSnapshot> snapshotControls(const View& view) {
  std::vector<ControlSnapshot> out;
  for (const std::string& name : view.outletNames())
    if (const Control* c = view.outlet(name)) out.push_back(snapshotControl(name, *c));
  return out;
}

}  // namespace jc
