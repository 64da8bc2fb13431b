// Opening the dialog on the Job Control tab, and drawing it into a picture.
#pragma once

#include <QString>

class QAbstractPrintDialog;
class QWidget;

namespace jc::qt {

class PanelTab;

// Shows the dialog with its options part open (its "Options >>" button) and
// `tab`, one of its option tabs, in front.
void showOptionTab(QAbstractPrintDialog& dialog, QWidget& tab);

// Shows the dialog that way with the Job Control tab in front, and the
// panel's page `page` (from 0).
void showJobControlTab(QAbstractPrintDialog& dialog, PanelTab& tab, int page);

// Shows the dialog that way and writes it as a PNG file; false when the file
// cannot be written.
bool writeDialogPicture(QAbstractPrintDialog& dialog, PanelTab& tab, int page, const QString& file);

}  // namespace jc::qt
