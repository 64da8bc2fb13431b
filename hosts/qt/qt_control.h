// A control of the Qt toolkit: one widget that QUiLoader built from the
// layout (a named QButtonGroup for a radio matrix).
//
// The Control operations are the program's side: they write the widget with
// its signals blocked, so they send no action. The user's changes reach the
// widget as Qt events; the view connects the widget's user signals (clicked,
// activated, textEdited, ...) to the control's action.
#pragma once

#include <QPalette>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "hosts/common/button_states.h"
#include "hosts/common/control_snapshot.h"
#include "hosts/common/pop_up_items.h"
#include "ui/toolkit.h"

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QLineEdit;
class QObject;
class QWidget;

namespace jc::qt {

class FormatterValidator;
class QtWindow;

class QtControl final : public Control, public ControlFacts {
 public:
  QtControl(ControlKind kind, QObject& object, std::string name, QtWindow& window);
  ~QtControl() override;

  ControlKind kind() const override { return kind_; }
  const std::string& name() const override { return name_; }
  const std::string& className() const override { return className_; }
  bool isSecret() const override;
  // The action method the control sends ("retentionCBoxProc:"), or empty.
  const std::string& action() const { return action_; }
  void setAction(std::string action) { action_ = std::move(action); }
  // The widget, or null for a radio matrix (or once Qt has deleted it).
  QWidget* widget() const;
  QButtonGroup* buttonGroup() const;
  // A radio matrix's cells in row order; a cell's matrix and row.
  void addCell(QtControl& cell);
  QtControl* matrix() const { return matrix_; }
  int row() const { return row_; }

  std::u16string title() const override;
  void setTitle(const std::u16string& title) override;
  std::u16string stringValue() const override;
  void setStringValue(const std::u16string& value) override;

  int state() const override;
  void setState(int state) override;
  bool isEnabled() const override;
  void setEnabled(bool enabled) override;
  void setImage(ImagePtr image) override;
  void setAlternateImage(ImagePtr image) override;
  ImagePtr image() const override { return image_; }
  ImagePtr alternateImage() const override { return alternateImage_; }

  int selectedRow() const override;
  void selectCellAtRow(int row) override;
  int numberOfRows() const override { return cells_.count(); }
  Control* cellAtRow(int row) const override;

  int tag() const override { return tag_; }
  void setEditable(bool editable) override;
  void setSelectable(bool selectable) override;
  bool isEditable() const override;
  bool isSelectable() const override { return isTextField() && selectable_; }
  void setTextColor(TextColor color) override;
  TextColor textColor() const override { return textColor_; }
  void setFormatter(std::unique_ptr<Formatter> formatter) override;
  const Formatter* formatter() const override;
  Window* window() const override;

  int indexOfSelectedItem() const override;
  void selectItemAtIndex(int index) override;
  int numberOfItems() const override;
  const MenuItem* itemAtIndex(int index) const override;
  void setItemTitle(int index, const std::u16string& title) override;
  void setItemImage(int index, ImagePtr image) override;
  void removeItemAtIndex(int index) override;
  void addItem(MenuItem item) override;
  void removeAllItems() override;

  int numberOfTabViewItems() const override;
  std::u16string tabLabel(int index) const override;
  void setTabLabel(int index, const std::u16string& label) override;
  void selectFirstTabViewItem() override;
  int selectedTabIndex() const override;

  void setHidden(bool hidden) override;
  bool isHidden() const override { return hidden_; }
  void startAnimation() override;
  void stopAnimation() override;
  bool isAnimating() const override { return animating_; }

  // Shows the image of the check box's present state (the alternate one when on).
  void showStateImage();

 private:
  bool isTextField() const {
    return kind_ == ControlKind::Label || kind_ == ControlKind::EditField;
  }
  QAbstractButton* button() const;
  QLineEdit* lineEdit() const;
  QComboBox* comboBox() const;
  FormatterValidator* validator() const;
  void uncheckAllCells();

  ControlKind kind_;
  QPointer<QObject> object_;
  std::string name_;
  std::string className_;
  std::string action_;
  QtWindow& window_;

  bool enabled_ = true;  // a matrix's own flag
  bool hidden_ = false;
  bool animating_ = false;
  ImagePtr image_;
  ImagePtr alternateImage_;

  RadioCells<QtControl> cells_;
  QtControl* matrix_ = nullptr;
  int row_ = -1;

  int tag_ = 0;
  bool selectable_ = true;
  Qt::FocusPolicy focusPolicy_ = Qt::StrongFocus;
  TextColor textColor_ = TextColor::Black;
  QPalette blackPalette_;

  PopUpItems items_;  // the pop-up's items as the panel gave them
};

}  // namespace jc::qt
