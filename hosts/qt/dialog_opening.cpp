#include "hosts/qt/dialog_opening.h"

#include <QAbstractPrintDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include "hosts/qt/window_fit.h"

namespace jc::qt {
namespace {

// Fits the dialog once the events of its change (a layout growing) are done.
void fitSoon(QAbstractPrintDialog& dialog) {
  QTimer::singleShot(0, &dialog, [&dialog] { fitToScreen(dialog); });
}

class OpeningWatcher final : public QObject {
 public:
  OpeningWatcher(QAbstractPrintDialog& dialog, QWidget& tab, bool showTab)
      : QObject(&dialog), dialog_(dialog), tab_(&tab), showTab_(showTab) {
    if (QPushButton* options = optionsButtonOf(dialog))
      QObject::connect(options, &QPushButton::clicked, this, [this] { fitSoon(dialog_); });
    dialog.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &dialog_ && event->type() == QEvent::Show) {
      if (showTab_ && tab_) showOptionsWith(dialog_, *tab_);
      fitSoon(dialog_);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QAbstractPrintDialog& dialog_;
  QPointer<QWidget> tab_;
  bool showTab_;
};

}  // namespace

QPushButton* optionsButtonOf(QAbstractPrintDialog& dialog) {
  // Qt puts it among the dialog's buttons in the reset role, whatever its text
  // says in the user's language.
  for (QDialogButtonBox* box : dialog.findChildren<QDialogButtonBox*>())
    for (QAbstractButton* button : box->buttons())
      if (box->buttonRole(button) == QDialogButtonBox::ResetRole)
        if (auto* push = qobject_cast<QPushButton*>(button)) return push;
  return nullptr;
}

QTabWidget* optionTabsOf(QAbstractPrintDialog& dialog, QWidget& tab) {
  for (QTabWidget* tabs : dialog.findChildren<QTabWidget*>())
    if (tabs->indexOf(&tab) >= 0) return tabs;
  return nullptr;
}

void showOptionsWith(QAbstractPrintDialog& dialog, QWidget& tab) {
  QTabWidget* tabs = optionTabsOf(dialog, tab);
  if (!tabs) return;
  if (QPushButton* options = optionsButtonOf(dialog); options && !tabs->isVisibleTo(&dialog))
    options->click();
  tabs->setCurrentWidget(&tab);
}

void openDialogWith(QAbstractPrintDialog& dialog, QWidget& tab, bool showTab) {
  new OpeningWatcher(dialog, tab, showTab);
}

}  // namespace jc::qt
