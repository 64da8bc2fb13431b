#include "hosts/headless/headless_view.h"

#include <algorithm>
#include <set>

#include "hosts/common/control_kind.h"
#include "platform/text.h"

namespace jc {
namespace {

std::string stringProperty(const UiWidget& w, std::string_view key) {
  const UiValue* v = w.property(key);
  return v && (v->type == UiValue::Type::String || v->type == UiValue::Type::Enum) ? v->text
                                                                                   : std::string();
}

std::optional<bool> boolProperty(const UiWidget& w, std::string_view key) {
  const UiValue* v = w.property(key);
  if (!v || v->type != UiValue::Type::Bool) return std::nullopt;
  return v->flag;
}

std::optional<std::int64_t> numberProperty(const UiWidget& w, std::string_view key) {
  const UiValue* v = w.property(key);
  if (!v || v->type != UiValue::Type::Number) return std::nullopt;
  return v->number;
}

int clampToInt(std::int64_t n) {
  return static_cast<int>(std::clamp<std::int64_t>(n, INT32_MIN, INT32_MAX));
}

bool isSecretEcho(const std::string& echoMode) {
  return echoMode.find("Password") != std::string::npos ||
         echoMode.find("NoEcho") != std::string::npos;
}

std::vector<MenuItem> itemsOf(const UiWidget& popUp) {
  std::vector<MenuItem> items;
  for (const auto& item : popUp.items) items.push_back(MenuItem{fromUtf8(item), false, {}, {}});
  return items;
}

std::vector<std::u16string> tabLabelsOf(const UiWidget& tabView) {
  std::vector<std::u16string> labels;
  for (const auto& page : tabView.children) {
    const UiValue* title = page.attribute("title");
    labels.push_back(fromUtf8(title ? title->text : std::string()));
  }
  return labels;
}

// The layout's current index of a pop-up or tab view with `count` entries:
// the first entry when the index is out of range, none when it has none.
int initialIndex(const UiWidget& w, int count) {
  const int current = clampToInt(numberProperty(w, "currentIndex").value_or(0));
  if (count == 0) return -1;
  return current >= 0 && current < count ? current : 0;
}

}  // namespace

// Walks the parsed file in document order and makes the controls.
class HeadlessViewBuilder {
 public:
  HeadlessViewBuilder(HeadlessView& view, const UiFile& file, ActionTarget* owner)
      : view_(view), owner_(owner) {
    for (const auto& group : file.buttonGroups) {
      if (group.name.empty()) continue;
      if (groups_.count(group.name)) {
        warn("button group '" + group.name + "' is declared twice");
        continue;
      }
      const UiValue* action = nullptr;
      if (auto it = group.properties.find("action"); it != group.properties.end()) {
        action = &it->second;
      }
      groups_[group.name] = Group{action ? action->text : std::string(), nullptr};
    }
  }

  void build(const UiFile& file) {
    view_.rootName_ = file.root.name;
    for (const auto& child : file.root.children) visit(child);
  }

 private:
  struct Group {
    std::string action;
    HeadlessControl* matrix = nullptr;  // made with its first cell, as Qt does
  };

  void warn(std::string message) { view_.warnings_.push_back(std::move(message)); }

  HeadlessControl& add(ControlKind kind, const std::string& name, const std::string& cls) {
    if (!name.empty() && view_.outlets_.find(name))
      warn("the name '" + name + "' is used twice; the first one counts");
    auto& control = view_.outlets_.add(std::make_unique<HeadlessControl>(kind, name, cls));
    control.owner_ = owner_;
    control.window_ = &view_.window_;
    return control;
  }

  void visit(const UiWidget& w) {
    const auto kind = controlKindOfClass(w.className);
    if (kind) make(*kind, w);
    for (const auto& child : w.children) visit(child);
  }

  // The matrix of a radio cell's declared group, made with its first cell so
  // that the matrix stands before its cells in layout order; null for a cell
  // that stands alone.
  HeadlessControl* matrixOf(const UiWidget& cell) {
    const UiValue* g = cell.attribute("buttonGroup");
    if (!g || g->text.empty()) return nullptr;
    auto it = groups_.find(g->text);
    if (it == groups_.end()) {
      warn("radio button '" + cell.name + "' names the undeclared button group '" + g->text + "'");
      return nullptr;
    }
    if (!it->second.matrix) {
      auto& m = add(ControlKind::RadioMatrix, it->first, "QButtonGroup");
      m.action_ = it->second.action;
      it->second.matrix = &m;
    }
    return it->second.matrix;
  }

  void make(ControlKind kind, const UiWidget& w) {
    HeadlessControl* matrix = kind == ControlKind::RadioCell ? matrixOf(w) : nullptr;
    HeadlessControl& c = add(kind, w.name, w.className);
    c.action_ = stringProperty(w, "action");
    if (auto enabled = boolProperty(w, "enabled")) c.enabled_ = *enabled;
    if (auto visible = boolProperty(w, "visible")) c.hidden_ = !*visible;
    c.text_ = fromUtf8(stringProperty(w, kind == ControlKind::Box ? "title" : "text"));
    const bool checked = boolProperty(w, "checked").value_or(false);
    switch (kind) {
      case ControlKind::CheckBox:
        c.tristate_ = boolProperty(w, "tristate").value_or(false);
        c.state_ = checked ? 1 : 0;
        break;
      case ControlKind::RadioCell:
        if (matrix) matrix->addCell(c);
        // Checking a later cell of an exclusive group unchecks the earlier one.
        if (matrix && checked) matrix->selectedRow_ = c.row_;
        if (!matrix) c.state_ = checked ? 1 : 0;
        break;
      case ControlKind::Label:
        c.tag_ = tagOf(w, false);
        break;
      case ControlKind::EditField:
        c.tag_ = tagOf(w, true);
        c.editable_ = !boolProperty(w, "readOnly").value_or(false);
        c.selectable_ = true;
        c.secret_ = isSecretEcho(stringProperty(w, "echoMode"));
        break;
      case ControlKind::PopUp:
        c.items_ = PopUpItems(itemsOf(w));
        c.selectedIndex_ = initialIndex(w, c.items_.count());
        break;
      case ControlKind::TabView:
        c.tabs_ = tabLabelsOf(w);
        c.selectedIndex_ = initialIndex(w, static_cast<int>(c.tabs_.size()));
        break;
      default:
        break;
    }
  }

  // Edit fields need a non-zero tag of their own; labels have tag 0.
  int tagOf(const UiWidget& w, bool editField) {
    const auto tag = numberProperty(w, "tag");
    const int value = tag ? clampToInt(*tag) : 0;
    if (editField) {
      if (value == 0) {
        warn("edit field '" + w.name + "' has no non-zero tag");
      } else if (!tags_.insert(value).second) {
        warn("edit field '" + w.name + "' has the tag " + std::to_string(value) +
             " of another edit field");
      }
    } else if (value != 0) {
      warn("label '" + w.name + "' has the non-zero tag " + std::to_string(value));
    }
    return value;
  }

  HeadlessView& view_;
  ActionTarget* owner_;
  std::map<std::string, Group, std::less<>> groups_;
  std::set<int> tags_;
};

HeadlessView::HeadlessView(const UiFile& file, ActionTarget* owner) : window_(*this) {
  HeadlessViewBuilder(*this, file, owner).build(file);
}

std::vector<std::string> HeadlessView::outletNames() const { return outlets_.names(); }

HeadlessControl* HeadlessView::control(std::string_view name) const { return outlets_.find(name); }

HeadlessControl* HeadlessView::focusedControl() const {
  const Control* focus = window_.firstResponder();
  for (const auto& c : outlets_.controls()) {
    if (c.get() == focus) return c.get();
  }
  return nullptr;
}

bool HeadlessView::contains(const Control* control) const { return outlets_.contains(control); }

std::vector<ControlSnapshot> HeadlessView::snapshot() const { return snapshotControls(*this); }

}  // namespace jc
