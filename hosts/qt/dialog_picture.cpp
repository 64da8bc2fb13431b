#include "hosts/qt/dialog_picture.h"

#include <QAbstractPrintDialog>
#include <QApplication>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>

#include "hosts/qt/panel_tab.h"

namespace jc::qt {
namespace {

QPushButton* optionsButtonOf(QAbstractPrintDialog& dialog) {
  for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
    QString text = button->text();
    text.remove(QLatin1Char('&'));
    if (text.startsWith(QLatin1String("Options")) && text.endsWith(QLatin1String(">>")))
      return button;
  }
  return nullptr;
}

}  // namespace

void showOptionTab(QAbstractPrintDialog& dialog, QWidget& tab) {
  dialog.show();
  QApplication::processEvents();
  QPushButton* options = optionsButtonOf(dialog);
  if (options && options->text().contains(QLatin1String(">>"))) options->click();
  for (QTabWidget* tabs : dialog.findChildren<QTabWidget*>())
    if (tabs->indexOf(&tab) >= 0) tabs->setCurrentWidget(&tab);
  QApplication::processEvents();
}

void showJobControlTab(QAbstractPrintDialog& dialog, PanelTab& tab, int page) {
  showOptionTab(dialog, tab.widget());
  tab.ensurePanel();
  if (QtView* view = tab.view())
    if (auto* pages = qobject_cast<QTabWidget*>(
            view->control("tabView") ? view->control("tabView")->widget() : nullptr);
        pages && page < pages->count())
      pages->setCurrentIndex(page);
  dialog.adjustSize();
  QApplication::processEvents();
}

bool writeDialogPicture(QAbstractPrintDialog& dialog, PanelTab& tab, int page,
                        const QString& file) {
  showJobControlTab(dialog, tab, page);
  return dialog.grab().save(file, "PNG");
}

}  // namespace jc::qt
