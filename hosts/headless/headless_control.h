// A control of the in-memory toolkit, and the window that keeps the focus.
//
// The Control operations are the program's side: they change values and send
// no action. The user* methods are the user's side: each acts as a person at
// the panel would (a disabled, hidden or read-only control ignores them), and
// a change sends the control's action to the layout's owner.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "hosts/common/button_states.h"
#include "hosts/common/control_snapshot.h"
#include "hosts/common/pop_up_items.h"
#include "ui/toolkit.h"

namespace jc {

class HeadlessView;

class HeadlessWindow final : public Window {
 public:
  explicit HeadlessWindow(const HeadlessView& view) : view_(view) {}
  // Null takes the focus from every control. A control of another view, a
  // hidden one or a text field that is not selectable does not take it, and
  // the focus stays where it was.
  void makeFirstResponder(Control* control) override;
  Control* firstResponder() const override { return responder_; }

 private:
  const HeadlessView& view_;
  Control* responder_ = nullptr;
};

class HeadlessControl final : public Control, public ControlFacts {
 public:
  HeadlessControl(ControlKind kind, std::string name, std::string className);

  // What the layout says.
  ControlKind kind() const override { return kind_; }
  const std::string& name() const override { return name_; }
  const std::string& className() const override { return className_; }
  // The action method the control sends ("retentionCBoxProc:"), or empty.
  const std::string& action() const { return action_; }
  // For a radio cell: its matrix and row (null and -1 when it stands alone).
  HeadlessControl* matrix() const { return matrix_; }
  int row() const { return row_; }
  // An edit field whose text is shown as bullets.
  bool isSecret() const override { return secret_; }

  // Control operations.
  std::u16string title() const override;
  void setTitle(const std::u16string& title) override;
  std::u16string stringValue() const override;
  void setStringValue(const std::u16string& value) override;

  int state() const override;
  void setState(int state) override;
  bool isEnabled() const override { return enabled_; }
  void setEnabled(bool enabled) override;
  void setImage(ImagePtr image) override { image_ = std::move(image); }
  void setAlternateImage(ImagePtr image) override { alternateImage_ = std::move(image); }
  ImagePtr image() const override { return image_; }
  ImagePtr alternateImage() const override { return alternateImage_; }

  int selectedRow() const override;
  void selectCellAtRow(int row) override;
  int numberOfRows() const override;
  Control* cellAtRow(int row) const override;

  int tag() const override { return tag_; }
  void setEditable(bool editable) override;
  void setSelectable(bool selectable) override;
  bool isEditable() const override { return editable_; }
  bool isSelectable() const override { return selectable_; }
  void setTextColor(TextColor color) override;
  TextColor textColor() const override { return textColor_; }
  void setFormatter(std::unique_ptr<Formatter> formatter) override;
  const Formatter* formatter() const override { return formatter_.get(); }
  Window* window() const override { return window_; }

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

  void setHidden(bool hidden) override { hidden_ = hidden; }
  bool isHidden() const override { return hidden_; }
  void startAnimation() override;
  void stopAnimation() override;
  bool isAnimating() const override { return animating_; }

  // Shown enabled: for a text field, what the drawing rule last said (an edit
  // field that can be selected, a label drawn in black); otherwise isEnabled.
  bool isShownEnabled() const;
  // Whether a user could act on the control now (not hidden, enabled).
  bool acceptsUser() const;

  // The user's side. Each answers whether the gesture took effect.
  // Check box: toggles; push button: presses; radio cell: selects its row.
  bool userClick();
  // Check box: sets the state (a click when it differs); radio cell: on selects it.
  bool userSetState(int state);
  // Radio matrix: selects a row (also the row already selected).
  bool userSelectRow(int row);
  // Pop-up: selects an item that is not a separator.
  bool userSelectItem(int index);
  // Tab view: shows a tab.
  bool userSelectTab(int index);
  // Edit field: types at the end of the text, one keystroke per UTF-16 unit
  // (a surrogate pair is one keystroke). Each keystroke is offered to the
  // field's formatter; a refusal stops typing there and answers false, the
  // text keeping the keystrokes before it. The field's action is sent once,
  // after the last keystroke, when any keystroke went in.
  bool userType(std::u16string_view text);
  // Edit field: replaces `range` (clamped to the text) by `text` in one edit.
  bool userPaste(std::u16string_view text, TextRange range);
  // Edit field: deletes `range`; an empty range deletes the character before
  // its location (backspace).
  bool userDelete(TextRange range);
  // Edit field: selects the whole text and deletes it.
  bool userClear();

 private:
  friend class HeadlessView;
  friend class HeadlessViewBuilder;

  // Makes `cell` the matrix's next row.
  void addCell(HeadlessControl& cell);
  bool userCanEdit() const;
  bool applyEdit(std::u16string proposed, TextRange proposedSelection, TextRange originalSelection);
  void sendAction();

  ControlKind kind_;
  std::string name_;
  std::string className_;
  std::string action_;
  ActionTarget* owner_ = nullptr;
  HeadlessWindow* window_ = nullptr;

  bool enabled_ = true;
  bool hidden_ = false;
  bool animating_ = false;
  bool tristate_ = false;
  int state_ = 0;
  ImagePtr image_;
  ImagePtr alternateImage_;

  std::u16string text_;  // title or string value

  // Radio matrix and its cells.
  RadioCells<HeadlessControl> cells_;
  int selectedRow_ = -1;
  HeadlessControl* matrix_ = nullptr;
  int row_ = -1;

  // Text fields.
  int tag_ = 0;
  bool editable_ = false;
  bool selectable_ = false;
  bool secret_ = false;
  TextColor textColor_ = TextColor::Black;
  std::unique_ptr<Formatter> formatter_;

  // Pop-up items, tab labels.
  PopUpItems items_;
  std::vector<std::u16string> tabs_;
  int selectedIndex_ = -1;
};

}  // namespace jc
