// The reference for the dialog's whole run: Qt's print dialog alone, made as
// a plain application makes it, shown off screen with its options part open
// and drawn to a PNG file, as `jobcontrol-dialog --screenshot` draws its own.
//
//   jc_plain_print_dialog FILE.png
#include <QApplication>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <cstdlib>

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  if (argc != 2) return 2;
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer);
  dialog.show();
  QApplication::processEvents();
  for (QPushButton* button : dialog.findChildren<QPushButton*>())
    if (button->text().remove(QLatin1Char('&')).startsWith(QLatin1String("Options")))
      button->click();
  dialog.adjustSize();
  QApplication::processEvents();
  return dialog.grab().save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
