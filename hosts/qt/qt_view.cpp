#include "hosts/qt/qt_view.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTabWidget>
#include <algorithm>
#include <optional>

#include "hosts/common/control_kind.h"
#include "hosts/common/outlet_table.h"

namespace jc::qt {
namespace {

std::string actionOf(const QObject& object) {
  return object.property("action").toString().toStdString();
}

}  // namespace

// Walks the widgets in the order QUiLoader made them (the file's order),
// makes the controls and connects the user's signals to their actions.
class QtViewBuilder {
 public:
  QtViewBuilder(QtView& view, ActionTarget* owner) : view_(view), owner_(owner) {}

  void build(QWidget& root) {
    for (QObject* child : root.children())
      if (auto* w = qobject_cast<QWidget*>(child)) visit(*w);
  }

 private:
  void visit(QWidget& w) {
    const auto kind = controlKindOfClass(w.metaObject()->className());
    if (kind) make(*kind, w);
    if (kind == ControlKind::TabView) {
      auto& tabs = static_cast<QTabWidget&>(w);
      for (int i = 0; i < tabs.count(); ++i)
        if (QWidget* page = tabs.widget(i)) visit(*page);
      return;
    }
    if (kind && kind != ControlKind::Box) return;
    for (QObject* child : w.children())
      if (auto* c = qobject_cast<QWidget*>(child)) visit(*c);
  }

  QtControl& add(ControlKind kind, QObject& object) {
    const std::string name = object.objectName().toStdString();
    auto& control =
        view_.outlets_.add(std::make_unique<QtControl>(kind, object, name, view_.window_));
    control.setAction(actionOf(object));
    return control;
  }

  // The builder is gone when the user acts; the connections keep the owner.
  static void send(ActionTarget* owner, QtControl& control) {
    if (owner && !control.action().empty()) owner->sendAction(control.action(), control);
  }

  QtControl* matrixOf(QAbstractButton& button) {
    QButtonGroup* group = button.group();
    if (!group || group->objectName().isEmpty()) return nullptr;
    if (auto it = matrices_.find(group); it != matrices_.end()) return it->second;
    QtControl& matrix = add(ControlKind::RadioMatrix, *group);
    QObject::connect(group, &QButtonGroup::buttonClicked, group,
                     [owner = owner_, &matrix](QAbstractButton*) { send(owner, matrix); });
    matrices_[group] = &matrix;
    return &matrix;
  }

  void make(ControlKind kind, QWidget& w) {
    QtControl* matrix =
        kind == ControlKind::RadioCell ? matrixOf(static_cast<QAbstractButton&>(w)) : nullptr;
    QtControl& c = add(kind, w);
    if (matrix) matrix->addCell(c);
    view_.window_.watch(w);
    connectUser(kind, w, c, matrix != nullptr);
  }

  // The user's side: a click, a pick, a keystroke sends the control's action.
  void connectUser(ControlKind kind, QWidget& w, QtControl& c, bool inMatrix) {
    switch (kind) {
      case ControlKind::CheckBox:
        w.setFocusPolicy(Qt::TabFocus);
        QObject::connect(static_cast<QCheckBox*>(&w), &QCheckBox::clicked, &w,
                         [owner = owner_, &c] {
                           c.showStateImage();
                           send(owner, c);
                         });
        break;
      case ControlKind::PushButton:
      case ControlKind::RadioCell:
        // Buttons take the focus from the keyboard only, so that a click
        // leaves the first responder where it was.
        w.setFocusPolicy(Qt::TabFocus);
        if (!inMatrix)
          QObject::connect(static_cast<QAbstractButton*>(&w), &QAbstractButton::clicked, &w,
                           [owner = owner_, &c] { send(owner, c); });
        break;
      case ControlKind::PopUp:
        w.setFocusPolicy(Qt::TabFocus);
        QObject::connect(static_cast<QComboBox*>(&w), &QComboBox::activated, &w,
                         [owner = owner_, &c](int) { send(owner, c); });
        break;
      case ControlKind::TabView:
        w.setFocusPolicy(Qt::TabFocus);
        QObject::connect(static_cast<QTabWidget*>(&w), &QTabWidget::currentChanged, &w,
                         [owner = owner_, &c](int) { send(owner, c); });
        break;
      case ControlKind::EditField:
        QObject::connect(static_cast<QLineEdit*>(&w), &QLineEdit::textEdited, &w,
                         [owner = owner_, &c](const QString&) { send(owner, c); });
        break;
      default:
        break;
    }
  }

  QtView& view_;
  ActionTarget* owner_;
  std::map<QButtonGroup*, QtControl*> matrices_;
};

void QtWindow::makeFirstResponder(Control* control) {
  if (!control) {
    responder_ = nullptr;
    QWidget* root = view_.rootWidget();
    QWidget* focus = root ? root->window()->focusWidget() : nullptr;
    if (focus && view_.controlOf(focus)) focus->clearFocus();
    return;
  }
  if (!view_.contains(control) || !takesFocus(*control)) return;
  responder_ = control;
  if (QWidget* w = static_cast<QtControl*>(control)->widget()) w->setFocus(Qt::OtherFocusReason);
}

Control* QtWindow::firstResponder() const { return responder_; }

bool QtWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    switch (static_cast<QFocusEvent*>(event)->reason()) {
      case Qt::MouseFocusReason:
      case Qt::TabFocusReason:
      case Qt::BacktabFocusReason:
      case Qt::ShortcutFocusReason:
        if (QtControl* c = view_.controlOf(qobject_cast<QWidget*>(watched))) responder_ = c;
        break;
      default:
        break;
    }
  }
  return false;
}

QtView::QtView(QWidget* root, ActionTarget* owner) : root_(root), window_(*this) {
  if (root) QtViewBuilder(*this, owner).build(*root);
}

QtView::~QtView() {
  delete root_.data();
  outlets_.clear();
}

std::vector<std::string> QtView::outletNames() const { return outlets_.names(); }

QtControl* QtView::control(std::string_view name) const { return outlets_.find(name); }

QtControl* QtView::controlOf(const QWidget* widget) const {
  if (!widget) return nullptr;
  for (const auto& c : outlets_.controls())
    if (c->widget() == widget) return c.get();
  return nullptr;
}

bool QtView::contains(const Control* control) const { return outlets_.contains(control); }

}  // namespace jc::qt
