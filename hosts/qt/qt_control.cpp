#include "hosts/qt/qt_control.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>

#include "hosts/qt/formatter_validator.h"
#include "hosts/qt/image_pixmap.h"
#include "hosts/qt/qt_text.h"
#include "hosts/qt/qt_view.h"

namespace jc::qt {
namespace {

// A widget hidden by the layout or the program, not merely not shown yet.
bool explicitlyHidden(const QWidget& w) {
  return w.testAttribute(Qt::WA_WState_ExplicitShowHide) && w.testAttribute(Qt::WA_WState_Hidden);
}

}  // namespace

QtControl::QtControl(ControlKind kind, QObject& object, std::string name, QtWindow& window)
    : kind_(kind),
      object_(&object),
      name_(std::move(name)),
      className_(object.metaObject()->className()),
      window_(window) {
  if (auto* w = widget()) {
    hidden_ = explicitlyHidden(*w);
    focusPolicy_ = w->focusPolicy();
    blackPalette_ = w->palette();
    tag_ = w->property("tag").toInt();
  }
  if (kind_ == ControlKind::RadioMatrix) className_ = "QButtonGroup";
  if (auto* combo = comboBox()) {
    std::vector<MenuItem> items;
    for (int i = 0; i < combo->count(); ++i)
      items.push_back(MenuItem{fromQString(combo->itemText(i)), false, {}, {}});
    items_ = PopUpItems(std::move(items));
  }
  if (auto* bar = qobject_cast<QProgressBar*>(widget())) {
    bar->setTextVisible(false);
    bar->setRange(0, 1);
  }
}

QtControl::~QtControl() = default;

QWidget* QtControl::widget() const { return qobject_cast<QWidget*>(object_.data()); }
QButtonGroup* QtControl::buttonGroup() const { return qobject_cast<QButtonGroup*>(object_.data()); }
QAbstractButton* QtControl::button() const {
  return qobject_cast<QAbstractButton*>(object_.data());
}
QLineEdit* QtControl::lineEdit() const {
  return kind_ == ControlKind::EditField ? qobject_cast<QLineEdit*>(object_.data()) : nullptr;
}
QComboBox* QtControl::comboBox() const { return qobject_cast<QComboBox*>(object_.data()); }

FormatterValidator* QtControl::validator() const {
  auto* field = lineEdit();
  return field ? const_cast<FormatterValidator*>(
                     dynamic_cast<const FormatterValidator*>(field->validator()))
               : nullptr;
}

bool QtControl::isSecret() const {
  auto* field = lineEdit();
  return field && field->echoMode() != QLineEdit::Normal;
}

void QtControl::addCell(QtControl& cell) {
  cell.matrix_ = this;
  cell.row_ = cells_.add(cell);
}

std::u16string QtControl::title() const {
  if (auto* box = qobject_cast<QGroupBox*>(object_.data())) return fromQString(box->title());
  if (auto* b = button()) return fromQString(b->text());
  return {};
}

void QtControl::setTitle(const std::u16string& title) {
  if (auto* box = qobject_cast<QGroupBox*>(object_.data())) box->setTitle(toQString(title));
  if (auto* b = button()) b->setText(toQString(title));
}

std::u16string QtControl::stringValue() const {
  if (auto* label = qobject_cast<QLabel*>(object_.data()); label && isTextField())
    return fromQString(label->text());
  if (auto* field = lineEdit()) return fromQString(field->text());
  return {};
}

void QtControl::setStringValue(const std::u16string& value) {
  if (auto* label = qobject_cast<QLabel*>(object_.data()); label && isTextField()) {
    label->setText(toQString(value));
  } else if (auto* field = lineEdit()) {
    const QSignalBlocker block(field);
    FormatterValidator* v = validator();
    if (v) v->setProgramWriting(true);
    field->setText(toQString(value));
    if (v) {
      v->setProgramWriting(false);
      v->settle();
    }
  }
}

int QtControl::state() const {
  if (kind_ == ControlKind::CheckBox) {
    auto* box = qobject_cast<QCheckBox*>(object_.data());
    if (!box) return 0;
    switch (box->checkState()) {
      case Qt::Checked:
        return 1;
      case Qt::PartiallyChecked:
        return -1;
      case Qt::Unchecked:
        return 0;
    }
  }
  if (kind_ == ControlKind::RadioCell) return button() && button()->isChecked() ? 1 : 0;
  return 0;
}

void QtControl::setState(int state) {
  if (kind_ == ControlKind::CheckBox) {
    auto* box = qobject_cast<QCheckBox*>(object_.data());
    if (!box) return;
    const QSignalBlocker block(box);
    const int shown = checkBoxState(state, box->isTristate());
    box->setCheckState(shown == -1  ? Qt::PartiallyChecked
                       : shown == 1 ? Qt::Checked
                                    : Qt::Unchecked);
    showStateImage();
  } else if (kind_ == ControlKind::RadioCell && matrix_) {
    if (auto row = matrixRowAfterCellState(state, row_, matrix_->selectedRow()))
      matrix_->selectCellAtRow(*row);
  } else if (auto* b = kind_ == ControlKind::RadioCell ? button() : nullptr) {
    const QSignalBlocker block(b);
    b->setChecked(state != 0);
  }
}

bool QtControl::isEnabled() const {
  if (kind_ == ControlKind::RadioMatrix) return enabled_;
  // The widget's own setting, whatever its parents say.
  auto* w = widget();
  return w && !w->testAttribute(Qt::WA_ForceDisabled);
}

void QtControl::setEnabled(bool enabled) {
  if (kind_ == ControlKind::RadioMatrix) {
    enabled_ = enabled;
    for (QtControl* cell : cells_.all()) cell->setEnabled(enabled);
    return;
  }
  if (auto* w = widget()) w->setEnabled(enabled);
}

void QtControl::setImage(ImagePtr image) {
  image_ = std::move(image);
  showStateImage();
}

void QtControl::setAlternateImage(ImagePtr image) {
  alternateImage_ = std::move(image);
  showStateImage();
}

void QtControl::showStateImage() {
  auto* b = button();
  if (!b || (!image_ && !alternateImage_)) return;
  const ImagePtr& shown = state() == 1 && alternateImage_ ? alternateImage_ : image_;
  b->setIcon(iconFor(shown));
  if (shown) b->setIconSize(QSize(shown->width, shown->height));
}

int QtControl::selectedRow() const {
  if (kind_ != ControlKind::RadioMatrix) return 0;
  for (const QtControl* cell : cells_.all())
    if (cell->state() == 1) return cell->row_;
  return -1;
}

void QtControl::uncheckAllCells() {
  auto* group = buttonGroup();
  const bool exclusive = group && group->exclusive();
  if (group) group->setExclusive(false);
  for (QtControl* cell : cells_.all()) {
    if (auto* b = cell->button()) {
      const QSignalBlocker block(b);
      b->setChecked(false);
    }
  }
  if (group) group->setExclusive(exclusive);
}

void QtControl::selectCellAtRow(int row) {
  if (kind_ != ControlKind::RadioMatrix || !cells_.isSelection(row)) return;
  if (row == -1) return uncheckAllCells();
  if (auto* b = cells_.at(row)->button()) {
    const QSignalBlocker block(b);
    const QSignalBlocker blockGroup(buttonGroup());
    b->setChecked(true);
  }
}

Control* QtControl::cellAtRow(int row) const {
  return kind_ == ControlKind::RadioMatrix ? cells_.at(row) : nullptr;
}

void QtControl::setEditable(bool editable) {
  if (auto* field = lineEdit()) field->setReadOnly(!editable);
}

bool QtControl::isEditable() const {
  auto* field = lineEdit();
  return field && !field->isReadOnly();
}

void QtControl::setSelectable(bool selectable) {
  if (!isTextField()) return;
  selectable_ = selectable;
  auto* w = widget();
  if (!w) return;
  if (auto* label = qobject_cast<QLabel*>(w))
    label->setTextInteractionFlags(selectable ? Qt::TextSelectableByMouse : Qt::NoTextInteraction);
  else
    w->setFocusPolicy(selectable ? focusPolicy_ : Qt::NoFocus);
  if (auto* field = lineEdit(); field && !selectable) field->deselect();
}

void QtControl::setTextColor(TextColor color) {
  if (!isTextField()) return;
  textColor_ = color;
  auto* w = widget();
  if (!w) return;
  if (color == TextColor::Black) {
    w->setPalette(blackPalette_);
    return;
  }
  // Gray is the colour the style gives disabled text; a field is drawn whole
  // as the style draws a disabled one (its box too, not only its text).
  QPalette gray = blackPalette_;
  const bool field = lineEdit() != nullptr;
  for (auto group : {QPalette::Active, QPalette::Inactive})
    for (int role = 0; role < QPalette::NColorRoles; ++role)
      if (field || role == QPalette::Text || role == QPalette::WindowText) {
        const auto r = static_cast<QPalette::ColorRole>(role);
        gray.setColor(group, r, blackPalette_.color(QPalette::Disabled, r));
      }
  w->setPalette(gray);
}

void QtControl::setFormatter(std::unique_ptr<Formatter> formatter) {
  auto* field = lineEdit();
  if (!field) return;
  FormatterValidator* old = validator();
  field->setValidator(formatter ? new FormatterValidator(*field, std::move(formatter)) : nullptr);
  delete old;
}

const Formatter* QtControl::formatter() const {
  const FormatterValidator* v = validator();
  return v ? v->formatter() : nullptr;
}

Window* QtControl::window() const { return &window_; }

int QtControl::indexOfSelectedItem() const {
  auto* combo = comboBox();
  return combo ? combo->currentIndex() : 0;
}

void QtControl::selectItemAtIndex(int index) {
  auto* combo = comboBox();
  if (!combo || !items_.isSelection(index)) return;
  const QSignalBlocker block(combo);
  combo->setCurrentIndex(index);
}

int QtControl::numberOfItems() const { return comboBox() ? items_.count() : 0; }

const MenuItem* QtControl::itemAtIndex(int index) const {
  return comboBox() ? items_.at(index) : nullptr;
}

void QtControl::setItemTitle(int index, const std::u16string& title) {
  if (items_.setTitle(index, title)) comboBox()->setItemText(index, toQString(title));
}

void QtControl::setItemImage(int index, ImagePtr image) {
  if (items_.contains(index)) comboBox()->setItemIcon(index, iconFor(image));
  items_.setImage(index, std::move(image));
}

void QtControl::removeItemAtIndex(int index) {
  auto* combo = comboBox();
  if (!combo || !items_.contains(index)) return;
  const QSignalBlocker block(combo);
  const int next = items_.remove(index, combo->currentIndex());
  combo->removeItem(index);
  combo->setCurrentIndex(next);
}

void QtControl::addItem(MenuItem item) {
  auto* combo = comboBox();
  if (!combo) return;
  const QSignalBlocker block(combo);
  const int before = combo->currentIndex();
  if (item.separator)
    combo->insertSeparator(combo->count());
  else
    combo->addItem(iconFor(item.image), toQString(item.title));
  combo->setCurrentIndex(items_.add(std::move(item), before));
}

void QtControl::removeAllItems() {
  auto* combo = comboBox();
  if (!combo) return;
  const QSignalBlocker block(combo);
  items_.clear();
  combo->clear();
}

int QtControl::numberOfTabViewItems() const {
  auto* tabs = qobject_cast<QTabWidget*>(object_.data());
  return tabs ? tabs->count() : 0;
}

std::u16string QtControl::tabLabel(int index) const {
  auto* tabs = qobject_cast<QTabWidget*>(object_.data());
  if (!tabs || index < 0 || index >= tabs->count()) return {};
  return fromQString(tabs->tabText(index));
}

void QtControl::setTabLabel(int index, const std::u16string& label) {
  auto* tabs = qobject_cast<QTabWidget*>(object_.data());
  if (tabs && index >= 0 && index < tabs->count()) tabs->setTabText(index, toQString(label));
}

void QtControl::selectFirstTabViewItem() {
  auto* tabs = qobject_cast<QTabWidget*>(object_.data());
  if (!tabs || tabs->count() == 0) return;
  const QSignalBlocker block(tabs);
  tabs->setCurrentIndex(0);
}

int QtControl::selectedTabIndex() const {
  auto* tabs = qobject_cast<QTabWidget*>(object_.data());
  return tabs ? tabs->currentIndex() : 0;
}

void QtControl::setHidden(bool hidden) {
  hidden_ = hidden;
  if (kind_ == ControlKind::RadioMatrix) return;
  if (auto* w = widget()) w->setHidden(hidden);
}

void QtControl::startAnimation() {
  auto* bar = qobject_cast<QProgressBar*>(object_.data());
  if (!bar) return;
  animating_ = true;
  bar->setRange(0, 0);  // busy
}

void QtControl::stopAnimation() {
  auto* bar = qobject_cast<QProgressBar*>(object_.data());
  if (!bar) return;
  animating_ = false;
  bar->setRange(0, 1);
  bar->setValue(0);
}

}  // namespace jc::qt
