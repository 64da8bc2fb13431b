#include "hosts/qt/dialog_picture.h"

#include <QAbstractPrintDialog>
#include <QApplication>
#include <QPixmap>
#include <QTabWidget>

#include "hosts/qt/dialog_opening.h"
#include "hosts/qt/panel_tab.h"
#include "hosts/qt/window_fit.h"

namespace jc::qt {

void showOptionTab(QAbstractPrintDialog& dialog, QWidget& tab) {
  dialog.show();
  QApplication::processEvents();
  showOptionsWith(dialog, tab);
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
  fitToScreen(dialog);
  QApplication::processEvents();
}

bool writeDialogPicture(QAbstractPrintDialog& dialog, PanelTab& tab, int page,
                        const QString& file) {
  showJobControlTab(dialog, tab, page);
  return dialog.grab().save(file, "PNG");
}

}  // namespace jc::qt
