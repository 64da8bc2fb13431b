// A Qt application that prints one page with the Job Control tab in its print
// dialog: the page it paints reaches CUPS with the panel's entries.
#include <jobcontrol/qt/job_control_tab.h>

#include <QApplication>
#include <QFont>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QStringLiteral("Quarterly report"));

  QPrintDialog dialog(&printer);
  jc::qt::JobControlTab tab(dialog);  // adds the tab; on Print, the entries go on `printer`
  if (!tab.isValid()) qWarning("No Job Control tab: %s", qPrintable(tab.errorString()));
  if (dialog.exec() != QDialog::Accepted) return 0;

  QPainter painter;
  if (!painter.begin(&printer)) return 1;
  painter.setFont(QFont(QStringLiteral("Sans"), 24));
  painter.drawText(painter.viewport(), Qt::AlignCenter, QStringLiteral("Quarterly report"));
  return painter.end() ? 0 : 1;
}
