#include "hosts/qt/test_page.h"

#include <cups/cups.h>

#include <QPainter>
#include <QPrinter>

namespace jc::qt {

bool paintTestPage(QPrinter& printer, const PrintSettings& entries) {
  // The job's title in CUPS is the printer's document name.
  if (const auto name = entries.jobName()) printer.setDocName(QString::fromStdString(*name));
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
  QFont title = painter.font();
  title.setPointSize(20);
  painter.setFont(title);
  const int line = painter.fontMetrics().height();
  painter.drawText(QPoint(0, line), QStringLiteral("Job Control test page"));
  QFont body = title;
  body.setPointSize(10);
  painter.setFont(body);
  const int small = painter.fontMetrics().height();
  int y = line * 2 + small;
  painter.drawText(QPoint(0, y), QStringLiteral("Printer: ") + printer.printerName());
  y += small * 2;
  // The entry names only: the values hold enciphered secrets.
  for (int i = 0; i < entries.count() && y < page.height(); ++i, y += small)
    painter.drawText(QPoint(0, y), QString::fromUtf8(entries.options()[i].name));
  return painter.end();
}

std::optional<int> newestJobOf(const std::string& destination) {
  cups_job_t* jobs = nullptr;
  const int count = cupsGetJobs(&jobs, destination.c_str(), 1, CUPS_WHICHJOBS_ALL);
  std::optional<int> newest;
  for (int i = 0; i < count; ++i)
    if (!newest || jobs[i].id > *newest) newest = jobs[i].id;
  cupsFreeJobs(count, jobs);
  return newest;
}

}  // namespace jc::qt
