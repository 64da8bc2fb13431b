#include "qt/qt_user_player.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <fstream>
#include <map>

#include "hosts/cli/user_actions.h"

namespace jc::test {
namespace {

using cli::editFields;
using cli::holdBoxes;

const std::map<std::string, std::string>& cells() {
  static const std::map<std::string, std::string> c = {{"hold-only", "holdOnlyRadioButton"},
                                                       {"hold-after-print", "holdAfterRadioButton"},
                                                       {"sample-print", "samplePrintRadioButton"},
                                                       {"login", "authenticationRadioButton"},
                                                       {"user-number", "userNumberRadioButton"}};
  return c;
}

std::string firstLineOf(const std::string& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  return line;
}

}  // namespace

QtUserPlayer::QtUserPlayer(qt::QtView& view) : view_(view) {}

QWidget* QtUserPlayer::widget(const std::string& name) const {
  qt::QtControl* c = view_.control(name);
  return c ? c->widget() : nullptr;
}

void QtUserPlayer::showPageOf(QWidget& target) {
  for (QWidget* w = target.parentWidget(); w; w = w->parentWidget()) {
    auto* tabs =
        qobject_cast<QTabWidget*>(w->parentWidget() ? w->parentWidget()->parentWidget() : nullptr);
    if (!tabs) continue;
    const int index = tabs->indexOf(w);
    if (index < 0 || index == tabs->currentIndex()) continue;
    QTabBar* bar = tabs->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
  }
}

void QtUserPlayer::showFirstTab() {
  auto* tabs = qobject_cast<QTabWidget*>(widget("tabView"));
  if (!tabs || tabs->currentIndex() == 0) return;
  QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(0).center());
}

void QtUserPlayer::click(QWidget& button) {
  showPageOf(button);
  // On the indicator, at the left of the button.
  QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(8, button.height() / 2));
}

void QtUserPlayer::pick(QWidget& popUp, int index) {
  auto* combo = qobject_cast<QComboBox*>(&popUp);
  if (!combo || !combo->isEnabled()) return;
  showPageOf(popUp);
  combo->showPopup();
  QAbstractItemView* list = combo->view();
  const QRect item = list->visualRect(list->model()->index(index, 0));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
  if (list->isVisible()) combo->hidePopup();
}

void QtUserPlayer::replaceText(QLineEdit& field, const std::string& text) {
  showPageOf(field);
  QTest::mouseClick(&field, Qt::LeftButton);
  if (!field.hasFocus() && field.focusPolicy() == Qt::NoFocus) return;
  QTest::keyClick(&field, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(&field, Qt::Key_Delete);
  QTest::keyClicks(&field, QString::fromStdString(text));
}

void QtUserPlayer::setCheck(const std::string& name, bool on) {
  auto* box = qobject_cast<QCheckBox*>(widget(name));
  if (box && box->isChecked() != on) click(*box);
}

void QtUserPlayer::clickNamed(const std::string& name) {
  if (QWidget* w = widget(name)) click(*w);
}

void QtUserPlayer::play(const cli::UserAction& action) {
  const std::string& o = action.option;
  const std::string& v = action.value;
  if (o == "--retention") return setCheck("retentionCheckBox", v == "on");
  if (o == "--lock" || o == "--unlock") return setCheck(holdBoxes().at(v), o == "--lock");
  if (o == "--hold-mode" || o == "--auth") return clickNamed(cells().at(v));
  if (o == "--folder") {
    const int choice = v == "quick" ? 0 : v == "main" ? 1 : 2;
    if (choice < 2)
      if (QWidget* popUp = widget("folderSelectionPopup")) pick(*popUp, choice);
    qt::QtControl* matrix = view_.control("folderSelectionMatrix");
    if (matrix && choice < matrix->numberOfRows())
      click(*static_cast<qt::QtControl*>(matrix->cellAtRow(choice))->widget());
    return;
  }
  if (o == "--folder-index") {
    if (QWidget* popUp = widget("folderSelectionPopup")) pick(*popUp, std::stoi(v));
    return;
  }
  if (auto field = editFields().find(o); field != editFields().end()) {
    auto* edit = qobject_cast<QLineEdit*>(widget(field->second));
    if (edit) replaceText(*edit, o == "--password-file" ? firstLineOf(v) : v);
  }
}

}  // namespace jc::test
