#include "hosts/headless/headless_control.h"

#include <algorithm>

#include "hosts/common/outlet_table.h"
#include "hosts/headless/headless_view.h"

namespace jc {
namespace {

bool isTextField(ControlKind k) { return k == ControlKind::Label || k == ControlKind::EditField; }

bool hasTitle(ControlKind k) {
  return k == ControlKind::Box || k == ControlKind::CheckBox || k == ControlKind::RadioCell ||
         k == ControlKind::PushButton;
}

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

void HeadlessWindow::makeFirstResponder(Control* control) {
  if (!control) {
    responder_ = nullptr;
    return;
  }
  if (view_.contains(control) && takesFocus(*control)) responder_ = control;
}

HeadlessControl::HeadlessControl(ControlKind kind, std::string name, std::string className)
    : kind_(kind), name_(std::move(name)), className_(std::move(className)) {}

std::u16string HeadlessControl::title() const { return hasTitle(kind_) ? text_ : std::u16string(); }

void HeadlessControl::setTitle(const std::u16string& title) {
  if (hasTitle(kind_)) text_ = title;
}

std::u16string HeadlessControl::stringValue() const {
  return isTextField(kind_) ? text_ : std::u16string();
}

void HeadlessControl::setStringValue(const std::u16string& value) {
  if (isTextField(kind_)) text_ = value;
}

int HeadlessControl::state() const {
  if (kind_ == ControlKind::CheckBox) return state_;
  if (kind_ == ControlKind::RadioCell) {
    if (matrix_) return matrix_->selectedRow_ == row_ ? 1 : 0;
    return state_;
  }
  return 0;
}

void HeadlessControl::setState(int state) {
  if (kind_ == ControlKind::CheckBox) {
    state_ = checkBoxState(state, tristate_);
  } else if (kind_ == ControlKind::RadioCell && matrix_) {
    if (auto row = matrixRowAfterCellState(state, row_, matrix_->selectedRow_))
      matrix_->selectedRow_ = *row;
  } else if (kind_ == ControlKind::RadioCell) {
    state_ = state != 0 ? 1 : 0;
  }
}

void HeadlessControl::setEnabled(bool enabled) {
  enabled_ = enabled;
  // A matrix enables or disables all of its cells.
  for (auto* cell : cells_.all()) cell->enabled_ = enabled;
}

int HeadlessControl::selectedRow() const {
  return kind_ == ControlKind::RadioMatrix ? selectedRow_ : 0;
}

void HeadlessControl::selectCellAtRow(int row) {
  if (kind_ == ControlKind::RadioMatrix && cells_.isSelection(row)) selectedRow_ = row;
}

int HeadlessControl::numberOfRows() const {
  return kind_ == ControlKind::RadioMatrix ? cells_.count() : 0;
}

Control* HeadlessControl::cellAtRow(int row) const {
  return kind_ == ControlKind::RadioMatrix ? cells_.at(row) : nullptr;
}

void HeadlessControl::addCell(HeadlessControl& cell) {
  cell.matrix_ = this;
  cell.row_ = cells_.add(cell);
}

void HeadlessControl::setEditable(bool editable) {
  if (isTextField(kind_)) editable_ = editable;
}

void HeadlessControl::setSelectable(bool selectable) {
  if (isTextField(kind_)) selectable_ = selectable;
}

void HeadlessControl::setTextColor(TextColor color) {
  if (isTextField(kind_)) textColor_ = color;
}

void HeadlessControl::setFormatter(std::unique_ptr<Formatter> formatter) {
  if (isTextField(kind_)) formatter_ = std::move(formatter);
}

int HeadlessControl::indexOfSelectedItem() const {
  return kind_ == ControlKind::PopUp ? selectedIndex_ : 0;
}

void HeadlessControl::selectItemAtIndex(int index) {
  if (kind_ == ControlKind::PopUp && items_.isSelection(index)) selectedIndex_ = index;
}

int HeadlessControl::numberOfItems() const {
  return kind_ == ControlKind::PopUp ? items_.count() : 0;
}

const MenuItem* HeadlessControl::itemAtIndex(int index) const { return items_.at(index); }

void HeadlessControl::setItemTitle(int index, const std::u16string& title) {
  items_.setTitle(index, title);
}

void HeadlessControl::setItemImage(int index, ImagePtr image) {
  items_.setImage(index, std::move(image));
}

void HeadlessControl::removeItemAtIndex(int index) {
  if (items_.contains(index)) selectedIndex_ = items_.remove(index, selectedIndex_);
}

void HeadlessControl::addItem(MenuItem item) {
  if (kind_ == ControlKind::PopUp) selectedIndex_ = items_.add(std::move(item), selectedIndex_);
}

void HeadlessControl::removeAllItems() {
  if (kind_ != ControlKind::PopUp) return;
  items_.clear();
  selectedIndex_ = -1;
}

int HeadlessControl::numberOfTabViewItems() const {
  return kind_ == ControlKind::TabView ? static_cast<int>(tabs_.size()) : 0;
}

std::u16string HeadlessControl::tabLabel(int index) const {
  if (index < 0 || index >= numberOfTabViewItems()) return {};
  return tabs_[static_cast<std::size_t>(index)];
}

void HeadlessControl::setTabLabel(int index, const std::u16string& label) {
  if (index >= 0 && index < numberOfTabViewItems()) tabs_[static_cast<std::size_t>(index)] = label;
}

void HeadlessControl::selectFirstTabViewItem() {
  if (numberOfTabViewItems() > 0) selectedIndex_ = 0;
}

int HeadlessControl::selectedTabIndex() const {
  return kind_ == ControlKind::TabView ? selectedIndex_ : 0;
}

void HeadlessControl::startAnimation() {
  if (kind_ == ControlKind::Progress) animating_ = true;
}

void HeadlessControl::stopAnimation() {
  if (kind_ == ControlKind::Progress) animating_ = false;
}

bool HeadlessControl::isShownEnabled() const {
  if (kind_ == ControlKind::Label) return enabled_ && textColor_ == TextColor::Black;
  if (kind_ == ControlKind::EditField) {
    return enabled_ && selectable_ && textColor_ == TextColor::Black;
  }
  return enabled_;
}

bool HeadlessControl::acceptsUser() const {
  if (hidden_ || !enabled_) return false;
  if (matrix_ && (!matrix_->enabled_ || matrix_->hidden_)) return false;
  return true;
}

bool HeadlessControl::userClick() {
  switch (kind_) {
    case ControlKind::CheckBox:
      if (!acceptsUser()) return false;
      state_ = state_ == 1 ? 0 : 1;
      sendAction();
      return true;
    case ControlKind::PushButton:
      if (!acceptsUser()) return false;
      sendAction();
      return true;
    case ControlKind::RadioCell:
      if (matrix_) return matrix_->userSelectRow(row_);
      if (!acceptsUser()) return false;
      state_ = 1;
      sendAction();
      return true;
    default:
      return false;
  }
}

bool HeadlessControl::userSetState(int state) {
  if (kind_ == ControlKind::RadioCell) return state != 0 && userClick();
  if (kind_ != ControlKind::CheckBox || !acceptsUser()) return false;
  const int wanted = checkBoxState(state, tristate_);
  if (wanted != state_) {
    state_ = wanted;
    sendAction();
  }
  return true;
}

bool HeadlessControl::userSelectRow(int row) {
  if (kind_ != ControlKind::RadioMatrix || !acceptsUser()) return false;
  const HeadlessControl* cell = cells_.at(row);
  if (!cell || !cell->acceptsUser()) return false;
  selectedRow_ = row;
  sendAction();
  return true;
}

bool HeadlessControl::userSelectItem(int index) {
  if (kind_ != ControlKind::PopUp || !acceptsUser()) return false;
  if (!items_.isChoice(index)) return false;
  selectedIndex_ = index;
  sendAction();
  return true;
}

bool HeadlessControl::userSelectTab(int index) {
  if (kind_ != ControlKind::TabView || !acceptsUser()) return false;
  if (index < 0 || index >= numberOfTabViewItems()) return false;
  selectedIndex_ = index;
  sendAction();
  return true;
}

bool HeadlessControl::userCanEdit() const {
  return kind_ == ControlKind::EditField && acceptsUser() && editable_;
}

bool HeadlessControl::applyEdit(std::u16string proposed, TextRange proposedSelection,
                                TextRange originalSelection) {
  if (formatter_ &&
      !formatter_->isPartialStringValid(proposed, proposedSelection, text_, originalSelection)) {
    return false;
  }
  text_ = std::move(proposed);
  return true;
}

bool HeadlessControl::userType(std::u16string_view text) {
  if (!userCanEdit()) return false;
  if (window_) window_->makeFirstResponder(this);
  bool changed = false;
  bool accepted = true;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t n = 1;
    if (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) n = 2;
    std::u16string proposed = text_;
    proposed.append(text.substr(i, n));
    const TextRange original{text_.size(), 0};
    const TextRange caret{proposed.size(), 0};
    if (!applyEdit(std::move(proposed), caret, original)) {
      accepted = false;
      break;
    }
    changed = true;
    i += n;
  }
  if (changed) sendAction();
  return accepted;
}

bool HeadlessControl::userPaste(std::u16string_view text, TextRange range) {
  if (!userCanEdit()) return false;
  if (window_) window_->makeFirstResponder(this);
  const std::size_t location = std::min(range.location, text_.size());
  const std::size_t length = std::min(range.length, text_.size() - location);
  if (text.empty() && length == 0) return true;
  std::u16string proposed = text_.substr(0, location);
  proposed.append(text);
  proposed.append(text_, location + length);
  if (!applyEdit(std::move(proposed), TextRange{location + text.size(), 0},
                 TextRange{location, length})) {
    return false;
  }
  sendAction();
  return true;
}

bool HeadlessControl::userDelete(TextRange range) {
  if (!userCanEdit()) return false;
  if (window_) window_->makeFirstResponder(this);
  std::size_t location = std::min(range.location, text_.size());
  std::size_t length = std::min(range.length, text_.size() - location);
  TextRange original{location, length};
  if (length == 0) {
    // Backspace: the character before the caret, a surrogate pair whole.
    if (location == 0) return true;
    length = 1;
    if (location >= 2 && isLowSurrogate(text_[location - 1]) &&
        isHighSurrogate(text_[location - 2])) {
      length = 2;
    }
    location -= length;
  }
  std::u16string proposed = text_;
  proposed.erase(location, length);
  if (!applyEdit(std::move(proposed), TextRange{location, 0}, original)) return false;
  sendAction();
  return true;
}

bool HeadlessControl::userClear() { return userDelete(TextRange{0, text_.size()}); }

void HeadlessControl::sendAction() {
  if (owner_ && !action_.empty()) owner_->sendAction(action_, *this);
}

}  // namespace jc
