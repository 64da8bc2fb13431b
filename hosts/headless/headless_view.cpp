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
    auto& control =
        *view_.controls_.emplace_back(std::make_unique<HeadlessControl>(kind, name, cls));
    control.owner_ = owner_;
    control.window_ = &view_.window_;
    if (!name.empty()) {
      if (!view_.byName_.emplace(name, &control).second) {
        warn("the name '" + name + "' is used twice; the first one counts");
      }
    }
    return control;
  }

  void visit(const UiWidget& w) {
    const auto kind = controlKindOfClass(w.className);
    if (kind) make(*kind, w);
    for (const auto& child : w.children) visit(child);
  }

  void make(ControlKind kind, const UiWidget& w) {
    // A cell of a declared group makes the group's matrix first, so that the
    // matrix stands before its cells in layout order.
    HeadlessControl* matrix = nullptr;
    if (kind == ControlKind::RadioCell) {
      if (const UiValue* g = w.attribute("buttonGroup"); g && !g->text.empty()) {
        auto it = groups_.find(g->text);
        if (it == groups_.end()) {
          warn("radio button '" + w.name + "' names the undeclared button group '" + g->text + "'");
        } else {
          if (!it->second.matrix) {
            auto& m = add(ControlKind::RadioMatrix, it->first, "QButtonGroup");
            m.action_ = it->second.action;
            it->second.matrix = &m;
          }
          matrix = it->second.matrix;
        }
      }
    }

    HeadlessControl& c = add(kind, w.name, w.className);
    c.action_ = stringProperty(w, "action");
    if (auto enabled = boolProperty(w, "enabled")) c.enabled_ = *enabled;
    if (auto visible = boolProperty(w, "visible")) c.hidden_ = !*visible;

    switch (kind) {
      case ControlKind::Box:
        c.text_ = fromUtf8(stringProperty(w, "title"));
        break;
      case ControlKind::CheckBox:
        c.text_ = fromUtf8(stringProperty(w, "text"));
        c.tristate_ = boolProperty(w, "tristate").value_or(false);
        c.state_ = boolProperty(w, "checked").value_or(false) ? 1 : 0;
        break;
      case ControlKind::PushButton:
        c.text_ = fromUtf8(stringProperty(w, "text"));
        break;
      case ControlKind::RadioCell:
        c.text_ = fromUtf8(stringProperty(w, "text"));
        if (matrix) {
          c.matrix_ = matrix;
          c.row_ = static_cast<int>(matrix->cells_.size());
          matrix->cells_.push_back(&c);
          // Checking a later cell of an exclusive group unchecks the earlier one.
          if (boolProperty(w, "checked").value_or(false)) matrix->selectedRow_ = c.row_;
        } else {
          c.state_ = boolProperty(w, "checked").value_or(false) ? 1 : 0;
        }
        break;
      case ControlKind::Label:
        c.text_ = fromUtf8(stringProperty(w, "text"));
        c.tag_ = tagOf(w, false);
        break;
      case ControlKind::EditField:
        c.text_ = fromUtf8(stringProperty(w, "text"));
        c.tag_ = tagOf(w, true);
        c.editable_ = !boolProperty(w, "readOnly").value_or(false);
        c.selectable_ = true;
        c.secret_ = stringProperty(w, "echoMode").find("Password") != std::string::npos ||
                    stringProperty(w, "echoMode").find("NoEcho") != std::string::npos;
        break;
      case ControlKind::PopUp: {
        for (const auto& item : w.items)
          c.items_.push_back(MenuItem{fromUtf8(item), false, {}, {}});
        const int count = static_cast<int>(c.items_.size());
        const int current = clampToInt(numberProperty(w, "currentIndex").value_or(0));
        c.selectedIndex_ = count == 0 ? -1 : (current >= 0 && current < count ? current : 0);
        break;
      }
      case ControlKind::TabView: {
        for (const auto& page : w.children) {
          const UiValue* title = page.attribute("title");
          c.tabs_.push_back(fromUtf8(title ? title->text : std::string()));
        }
        const int count = static_cast<int>(c.tabs_.size());
        const int current = clampToInt(numberProperty(w, "currentIndex").value_or(0));
        c.selectedIndex_ = count == 0 ? -1 : (current >= 0 && current < count ? current : 0);
        break;
      }
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

std::vector<std::string> HeadlessView::outletNames() const {
  std::vector<std::string> names;
  for (const auto& c : controls_) {
    if (!c->name().empty() && byName_.find(c->name())->second == c.get())
      names.push_back(c->name());
  }
  return names;
}

HeadlessControl* HeadlessView::control(std::string_view name) const {
  const auto it = byName_.find(name);
  return it == byName_.end() ? nullptr : it->second;
}

HeadlessControl* HeadlessView::focusedControl() const {
  const Control* focus = window_.firstResponder();
  for (const auto& c : controls_) {
    if (c.get() == focus) return c.get();
  }
  return nullptr;
}

bool HeadlessView::contains(const Control* control) const {
  return std::any_of(controls_.begin(), controls_.end(),
                     [control](const auto& c) { return c.get() == control; });
}

std::vector<ControlSnapshot> HeadlessView::snapshot() const { return snapshotControls(*this); }

}  // namespace jc
