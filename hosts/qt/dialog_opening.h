// How a Qt print dialog with the Job Control tab opens: its options part
// shown ("Options >>" pressed) with the tab in front, and the window kept on
// its screen whenever the options part opens or closes.
#pragma once

class QAbstractPrintDialog;
class QPushButton;
class QTabWidget;
class QWidget;

namespace jc::qt {

// Each time `dialog` is shown: with `showTab`, its options part opens and
// `tab` comes to the front; the window is then fitted to its screen's free
// area, and again after each press of the options button.
void openDialogWith(QAbstractPrintDialog& dialog, QWidget& tab, bool showTab);

// Opens the options part now and brings `tab` (one of the option tabs) to
// the front.
void showOptionsWith(QAbstractPrintDialog& dialog, QWidget& tab);

// The button that opens and closes the dialog's options part, or null.
QPushButton* optionsButtonOf(QAbstractPrintDialog& dialog);
// The dialog's option tabs ("Copies", "Options" and the added ones), or null.
QTabWidget* optionTabsOf(QAbstractPrintDialog& dialog, QWidget& tab);

}  // namespace jc::qt
