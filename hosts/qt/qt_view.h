// A layout that QUiLoader built: the root widget, its controls in layout order
// (a button group's matrix before its first cell, as the in-memory toolkit
// has them), the outlets by object name, and the window whose keyboard focus
// is the first responder.
#pragma once

#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "hosts/common/outlet_table.h"
#include "hosts/qt/qt_control.h"
#include "ui/toolkit.h"

namespace jc::qt {

class QtView;

// The first responder is the control that last took the keyboard focus by
// the panel's word or by the user's click or Tab key. A page of the tab view
// that Qt hides moves Qt's focus elsewhere, but not the responder: the window
// keeps it, as the panel expects, and Qt's focus follows it where it can.
class QtWindow final : public QObject, public Window {
 public:
  explicit QtWindow(const QtView& view) : view_(view) {}
  // Gives `control`'s widget the keyboard focus; null takes it from the
  // view. A control of another view, a hidden one or a text field that
  // cannot be selected does not take it.
  void makeFirstResponder(Control* control) override;
  Control* firstResponder() const override;
  // Watches `widget` for the focus the user gives it.
  void watch(QWidget& widget) { widget.installEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  const QtView& view_;
  Control* responder_ = nullptr;
};

class QtView final : public View {
 public:
  // Takes `root` (a widget without parent) and sends user actions to `owner`.
  QtView(QWidget* root, ActionTarget* owner);
  ~QtView() override;
  QtView(const QtView&) = delete;
  QtView& operator=(const QtView&) = delete;

  Control* outlet(std::string_view name) const override { return control(name); }
  std::vector<std::string> outletNames() const override;
  Window& window() override { return window_; }

  QtControl* control(std::string_view name) const;
  // The control of `widget`, or null.
  QtControl* controlOf(const QWidget* widget) const;
  bool contains(const Control* control) const;
  // The layout's top-level widget; the host puts it where the panel shows.
  QWidget* rootWidget() const { return root_.data(); }

 private:
  friend class QtViewBuilder;

  QPointer<QWidget> root_;
  QtWindow window_;
  OutletTable<QtControl> outlets_;
};

}  // namespace jc::qt
