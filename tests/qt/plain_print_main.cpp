// An application that knows nothing of Job Control: it prints one page
// through Qt's own print support to the CUPS queue its first argument names,
// titled as its second.
#include <QApplication>
#include <QPainter>
#include <QPrinter>

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  QApplication application(argc, argv);
  QPrinter printer;
  printer.setPrinterName(QString::fromLocal8Bit(argv[1]));
  if (printer.printerName() != QString::fromLocal8Bit(argv[1])) return 1;
  printer.setDocName(QString::fromLocal8Bit(argv[2]));
  QPainter painter;
  if (!painter.begin(&printer)) return 1;
  painter.drawText(painter.viewport(), Qt::AlignCenter, QStringLiteral("A page"));
  return painter.end() ? 0 : 1;
}
