// jobcontrol-dialog: Qt's print dialog with the Job Control tab.
#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "hosts/common/cups_destination.h"
#include "hosts/common/host_translation.h"
#include "hosts/common/module_loader.h"
#include "hosts/common/pdf_file_writer.h"
#include "hosts/common/scheduler_check.h"
#include "hosts/qt/dialog_icon.h"
#include "hosts/qt/dialog_options.h"
#include "hosts/qt/dialog_picture.h"
#include "hosts/qt/panel_tab.h"
#include "hosts/qt/printer_job_options.h"
#include "hosts/qt/qt_program.h"
#include "hosts/qt/test_page.h"
#include "platform/directory_bundle.h"

namespace jc::qt {
namespace {

const QtProgram program("jobcontrol-dialog");
constexpr int kFailed = kProgramFailed;
constexpr int kUsage = kProgramUsage;

int fail(int status, const std::string& message) { return program.fail(status, message); }

void printEntries(const PrintSettings& entries) {
  for (int i = 0; i < entries.count(); ++i)
    std::cout << entries.options()[i].name << "=" << entries.options()[i].value << "\n";
}

// The files go to the queue with the dialog's choices and the panel's entries.
int printFiles(QPrinter& printer, const PanelTab& tab, const PrintSettings& entries,
               const std::vector<std::string>& files) {
  if (printer.outputFormat() == QPrinter::PdfFormat) {
    const std::string output = printer.outputFileName().toStdString();
    writePdfFile(files, output);  // throws HostError
    std::cout << tr("Wrote {0}", {output}) << "\n";
    return 0;
  }
  const PrinterInfo* chosen = tab.printer();
  if (!chosen || !chosen->cupsDestination) {
    std::cout << "No CUPS destination: the files would have gone to "
              << (chosen ? chosen->id : std::string("(no printer)")) << " at "
              << (chosen ? chosen->deviceURI.value_or("(no device URI)") : "")
              << " with these entries:\n";
    printEntries(entries);
    return 0;
  }
  PrintSettings options = jobOptionsOf(printer);
  for (int i = 0; i < entries.count(); ++i)
    options.setValue(entries.options()[i].name, entries.options()[i].value);
  const std::string title =
      entries.jobName().value_or(std::filesystem::path(files.front()).filename().string());
  const int id = sendJob(*chosen->cupsDestination, files, title, options);
  std::cout << tr("Sent as job {0} to {1}", {std::to_string(id), *chosen->cupsDestination}) << "\n";
  return 0;
}

// Without files a test page goes through Qt's own print engine.
int printTestPage(QPrinter& printer, const PrintSettings& entries) {
  if (!paintTestPage(printer, entries))
    return fail(kFailed, tr("the printer cannot be painted on"));
  if (printer.outputFormat() == QPrinter::PdfFormat) {
    std::cout << tr("Wrote {0}", {printer.outputFileName().toStdString()}) << "\n";
    return 0;
  }
  const std::string destination = printer.printerName().toStdString();
  if (auto id = newestJobOf(destination))
    std::cout << tr("Sent as job {0} to {1}", {std::to_string(*id), destination}) << "\n";
  else
    std::cout << tr("Sent the test page to {0}", {destination}) << "\n";
  return 0;
}

int run(const DialogOptions& options) {
  for (const std::string& file : options.files) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
      return fail(kUsage, tr("no file to print at {0}", {file}));
  }
  const std::string title = options.files.empty()
                                ? std::string("Job Control test page")
                                : std::filesystem::path(options.files.front()).filename().string();
  QPrinterInfo queue;
  if (options.printer) {
    queue = QPrinterInfo::printerInfo(QString::fromStdString(*options.printer));
    if (queue.isNull())
      return schedulerAnswers()
                 ? fail(kUsage, tr("no CUPS queue named \"{0}\"", {*options.printer}))
                 : fail(kFailed, tr(schedulerNotRunning()));
  }
  // Made on the queue found above, or on the system's default as a plain
  // QPrinter is: CUPS is asked no more than for Qt's own dialog.
  QPrinter printer(queue, QPrinter::HighResolution);
  prepareForDialog(printer, title, options.printer.value_or(""));

  QPrintDialog dialog(&printer);
  PanelTabOptions tabOptions;
  tabOptions.modulePath = defaultModulePath();
  if (options.prefsDir) tabOptions.prefsFolder = *options.prefsDir;
  tabOptions.jobName = title;
  tabOptions.standardAttributes = options.standardAttributes;
  PanelTab tab(dialog, tabOptions);
  if (!tab.error().empty()) std::cerr << "jobcontrol-dialog: " << tab.error() << "\n";
  static const int anchor = 0;
  if (const auto bundle = DirectoryBundle::findFolder(&anchor))
    dialog.setWindowIcon(dialogIcon(*bundle));

  if (options.screenshot) {
    if (!writeDialogPicture(dialog, tab, options.tab, QString::fromStdString(*options.screenshot)))
      return fail(kFailed, tr("cannot write the picture {0}", {*options.screenshot}));
    return 0;
  }
  PrintSettings entries;
  QObject::connect(&dialog, &QDialog::accepted, &dialog, [&] {
    entries = tab.accept();
    addEntriesTo(printer, withStandardAttributes(entries, tab.standardAttributes()));
  });
  if (dialog.exec() != QDialog::Accepted) return 0;  // cancelled: nothing sent or stored
  return options.files.empty() ? printTestPage(printer, entries)
                               : printFiles(printer, tab, entries, options.files);
}

}  // namespace
}  // namespace jc::qt

int main(int argc, char** argv) {
  using namespace jc::qt;
  using jc::tr;
  DialogOptions options;
  try {
    options = parseDialogOptions(argc, argv);
  } catch (const DialogUsageError& e) {
    std::cerr << "jobcontrol-dialog: " << e.message << "\n"
              << tr("Try 'jobcontrol-dialog --help'.") << "\n";
    return kProgramUsage;
  }
  if (options.help) {
    std::cout << dialogUsageText();
    return 0;
  }
  if (options.version) return program.printVersion();
  return program.runWithQt(argc, argv, bool(options.screenshot), [&] { return run(options); });
}
