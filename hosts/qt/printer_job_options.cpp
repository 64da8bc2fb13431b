#include "hosts/qt/printer_job_options.h"

#include <QDir>
#include <QPageLayout>
#include <QPrintEngine>
#include <QPrinter>
#include <QStringList>

#include "hosts/common/cups_destination.h"
#include "hosts/common/pdf_file_writer.h"

namespace jc::qt {
namespace {

// The print-engine property under which Qt's CUPS engine keeps the job's
// extra CUPS options, as name, value, name, value, ...
constexpr auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

const char* sidesOf(QPrinter::DuplexMode duplex) {
  switch (duplex) {
    case QPrinter::DuplexLongSide:
      return "two-sided-long-edge";
    case QPrinter::DuplexShortSide:
      return "two-sided-short-edge";
    case QPrinter::DuplexAuto:
    case QPrinter::DuplexNone:
      break;
  }
  return nullptr;
}

// Where `name` is in Qt's list of name, value, name, value, ...; -1 for
// nowhere.
qsizetype optionAt(const QStringList& options, const QString& name) {
  for (qsizetype i = 0; i + 1 < options.size(); i += 2)
    if (options[i] == name) return i;
  return -1;
}

}  // namespace

PrintSettings jobOptionsOf(QPrinter& printer) {
  PrintSettings options;
  const QStringList engineOptions = printer.printEngine()->property(kCupsOptions).toStringList();
  for (qsizetype i = 0; i + 1 < engineOptions.size(); i += 2)
    options.setValue(engineOptions[i].toStdString(), engineOptions[i + 1].toStdString());
  options.setValue("copies", std::to_string(printer.copyCount()));
  options.setValue("collate", printer.collateCopies() ? "true" : "false");
  if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0)
    options.setValue("page-ranges",
                     std::to_string(printer.fromPage()) + "-" + std::to_string(printer.toPage()));
  if (const char* sides = sidesOf(printer.duplex())) options.setValue("sides", sides);
  const QPageLayout layout = printer.pageLayout();
  if (layout.pageSize().isValid()) options.setValue("media", layout.pageSize().key().toStdString());
  if (layout.orientation() == QPageLayout::Landscape)
    options.setValue("orientation-requested", "4");
  if (printer.colorMode() == QPrinter::GrayScale)
    options.setValue("print-color-mode", "monochrome");
  return options;
}

void addEntriesTo(QPrinter& printer, const PrintSettings& entries) {
  if (printer.outputFormat() != QPrinter::NativeFormat) return;
  QPrintEngine* engine = printer.printEngine();
  QStringList options = engine->property(kCupsOptions).toStringList();
  for (int i = 0; i < entries.count(); ++i) {
    const QString name = QString::fromUtf8(entries.options()[i].name);
    const QString value = QString::fromUtf8(entries.options()[i].value);
    if (const qsizetype at = optionAt(options, name); at >= 0)
      options[at + 1] = value;
    else
      options << name << value;
  }
  // Qt's job page names job-hold-until only for a hold the user chose.
  if (optionAt(options, QString::fromLatin1(kJobHoldUntil)) < 0)
    options << QString::fromLatin1(kJobHoldUntil) << QStringLiteral("no-hold");
  engine->setProperty(kCupsOptions, options);
}

void prepareForDialog(QPrinter& printer, const std::string& title, const std::string& queue) {
  const QString name = QString::fromStdString(title);
  printer.setDocName(name);
  const QString wanted = QString::fromStdString(queue);
  if (!wanted.isEmpty() && printer.printerName() != wanted) printer.setPrinterName(wanted);
  // The file goes to the engine itself: QPrinter::setOutputFileName would
  // switch the printer to a PDF writer and back, asking CUPS for the default
  // and every queue once more. The dialog offers the engine's file, and
  // clears it when a queue is chosen.
  printer.printEngine()->setProperty(
      QPrintEngine::PPK_OutputFileName,
      QDir::home().filePath(QString::fromStdString(pdfFileNameFor(title))));
}

}  // namespace jc::qt
