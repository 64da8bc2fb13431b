// What the panel's logic needs of a widget toolkit.
//
// A control may be absent from a layout. `ControlRef` is the handle the logic
// uses: an absent control is the null control, on which every operation does
// nothing and every query answers zero (state 0, row 0, index 0, no text,
// tag 0, not selectable).
// A value set through these operations never sends the control's action; only
// a user's change does (the toolkit then calls ActionTarget::sendAction).
#pragma once

#include <any>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace jc {

enum class ControlKind {
  TabView,
  Box,
  CheckBox,  // also the hold check boxes
  RadioMatrix,
  RadioCell,
  Label,      // a text field with tag 0
  EditField,  // a text field with a non-zero tag
  PopUp,
  PushButton,
  Progress,
  Other,
};

enum class TextColor { Black, Gray };

// A picture a control or menu item shows: a system icon by its four-character
// code, or a bundle image by its file.
struct Image {
  std::uint32_t iconType = 0;  // 'lock', 'ulck'; 0 for a file image
  std::filesystem::path file;  // empty for a system icon
  int width = 0;
  int height = 0;
  bool operator==(const Image&) const = default;
};
using ImagePtr = std::shared_ptr<const Image>;

inline constexpr std::uint32_t fourCharCode(const char (&s)[5]) {
  return (std::uint32_t(std::uint8_t(s[0])) << 24) | (std::uint32_t(std::uint8_t(s[1])) << 16) |
         (std::uint32_t(std::uint8_t(s[2])) << 8) | std::uint32_t(std::uint8_t(s[3]));
}

struct TextRange {
  std::size_t location = 0;
  std::size_t length = 0;
  bool operator==(const TextRange&) const = default;
};

// An edit check asked before every edit of a field.
class Formatter {
 public:
  virtual ~Formatter() = default;
  virtual std::u16string stringForObjectValue(const std::u16string& value) const { return value; }
  virtual bool getObjectValue(std::u16string& out, const std::u16string& text) const {
    out = text;
    return true;
  }
  // True lets the edit through; the proposed text is never changed.
  virtual bool isPartialStringValid(const std::u16string& proposed, TextRange proposedSelection,
                                    const std::u16string& original,
                                    TextRange originalSelection) const = 0;
};

struct MenuItem {
  std::u16string title;
  bool separator = false;
  ImagePtr image;
  std::any representedObject;
};

class Window;

// One control. Kinds implement the operations that apply to them; the rest
// keep these do-nothing defaults.
class Control {
 public:
  virtual ~Control() = default;
  virtual ControlKind kind() const = 0;
  virtual const std::string& name() const = 0;  // the outlet name, may be empty

  // Titles (boxes, buttons, cells) and string values (text fields).
  virtual std::u16string title() const { return {}; }
  virtual void setTitle(const std::u16string&) {}
  virtual std::u16string stringValue() const { return {}; }
  virtual void setStringValue(const std::u16string&) {}

  // Check boxes and cells: 0 off, 1 on, -1 mixed.
  virtual int state() const { return 0; }
  virtual void setState(int) {}
  virtual bool isEnabled() const { return false; }
  virtual void setEnabled(bool) {}
  virtual void setImage(ImagePtr) {}
  virtual void setAlternateImage(ImagePtr) {}
  virtual ImagePtr image() const { return nullptr; }
  virtual ImagePtr alternateImage() const { return nullptr; }

  // Radio matrices: rows from 0; -1 when no cell is selected.
  virtual int selectedRow() const { return 0; }
  virtual void selectCellAtRow(int /*row*/) {}
  virtual int numberOfRows() const { return 0; }
  virtual Control* cellAtRow(int /*row*/) const { return nullptr; }

  // Text fields.
  virtual int tag() const { return 0; }
  virtual void setEditable(bool) {}
  virtual void setSelectable(bool) {}
  virtual bool isEditable() const { return false; }
  virtual bool isSelectable() const { return false; }
  virtual void setTextColor(TextColor) {}
  virtual TextColor textColor() const { return TextColor::Black; }
  virtual void setFormatter(std::unique_ptr<Formatter>) {}
  virtual const Formatter* formatter() const { return nullptr; }
  virtual Window* window() const { return nullptr; }

  // Pop-up buttons: index from 0; -1 when nothing is selected.
  virtual int indexOfSelectedItem() const { return 0; }
  virtual void selectItemAtIndex(int) {}
  virtual int numberOfItems() const { return 0; }
  virtual const MenuItem* itemAtIndex(int) const { return nullptr; }
  virtual void setItemTitle(int, const std::u16string&) {}
  virtual void setItemImage(int, ImagePtr) {}
  virtual void removeItemAtIndex(int) {}
  virtual void addItem(MenuItem) {}
  virtual void removeAllItems() {}

  // Tab views.
  virtual int numberOfTabViewItems() const { return 0; }
  virtual std::u16string tabLabel(int) const { return {}; }
  virtual void setTabLabel(int, const std::u16string&) {}
  virtual void selectFirstTabViewItem() {}
  virtual int selectedTabIndex() const { return 0; }

  // Progress indicators (and any control): shown or hidden, animating.
  virtual void setHidden(bool) {}
  virtual bool isHidden() const { return false; }
  virtual void startAnimation() {}
  virtual void stopAnimation() {}
  virtual bool isAnimating() const { return false; }
};

// The window the controls sit in; it keeps the keyboard focus.
class Window {
 public:
  virtual ~Window() = default;
  // Gives the focus to `control`, or takes it from every control when null.
  virtual void makeFirstResponder(Control* control) = 0;
  virtual Control* firstResponder() const = 0;
};

// Stands for an absent control: a shared control of kind Other with no name
// that keeps no state, so every operation does nothing and every query answers
// the defaults of Control. It belongs to no view and no window: a window never
// takes it as its first responder.
Control& nullControl();

// The handle the logic holds. Operations go to the control with `->`; on an
// absent control they reach the null control and so ignore operations and
// answer zero.
class ControlRef {
 public:
  ControlRef() = default;
  ControlRef(Control* c) : c_(c) {}  // NOLINT: implicit from a raw control
  explicit operator bool() const { return c_ != nullptr; }
  // The control, or null when it is absent: what actions and windows are given.
  Control* get() const { return c_; }
  Control* operator->() const { return c_ ? c_ : &nullControl(); }

  // A matrix's selected cell; absent when none is selected.
  ControlRef selectedCell() const { return c_ ? c_->cellAtRow(c_->selectedRow()) : nullptr; }
  // A pop-up's selected item, or null.
  const MenuItem* selectedItem() const {
    return c_ ? c_->itemAtIndex(c_->indexOfSelectedItem()) : nullptr;
  }
  // The field's window makes this field the first responder / makes none.
  void makeFirstResponder() const {
    if (c_ && c_->window()) c_->window()->makeFirstResponder(c_);
  }
  void resignFocus() const {
    if (c_ && c_->window()) c_->window()->makeFirstResponder(nullptr);
  }

 private:
  Control* c_ = nullptr;
};

// Receives the actions of the user's changes; the layout names each control's
// action by its method name ("retentionCBoxProc:").
class ActionTarget {
 public:
  virtual ~ActionTarget() = default;
  virtual void sendAction(std::string_view action, Control& sender) = 0;
};

// A loaded layout: the root view and its outlets by name.
class View {
 public:
  virtual ~View() = default;
  virtual Control* outlet(std::string_view name) const = 0;
  virtual std::vector<std::string> outletNames() const = 0;  // in layout order
  virtual Window& window() = 0;
};

class Toolkit {
 public:
  virtual ~Toolkit() = default;
  // Loads a layout file; actions of the user's changes go to `owner`. Null when
  // the file cannot be read.
  virtual std::unique_ptr<View> loadLayout(const std::filesystem::path& file,
                                           ActionTarget* owner) = 0;
  // A new image of the system icon for a four-character type code, sized.
  virtual ImagePtr systemIcon(std::uint32_t typeCode, int width, int height) = 0;
  // A modal informational alert; returns once it has been dismissed.
  virtual void alert(const std::u16string& title, const std::u16string& message,
                     const std::u16string& button) = 0;
};

}  // namespace jc
