#include "jobcontrol/qt/job_control_tab.h"

#include <QCoreApplication>
#include <QPrintDialog>
#include <QPrinter>

#include "hosts/qt/panel_tab.h"
#include "hosts/qt/printer_job_options.h"
#include "hosts/qt/qt_translations.h"

namespace jc::qt {

struct JobControlTab::Private {
  std::unique_ptr<PanelTab> tab;
  QString error;
  QList<QPair<QString, QString>> entries;
};

namespace {

const int anchor = 0;

// Qt's own texts in the user's language from the application's start, so that
// its first print dialog already speaks it.
void installTranslationsAtStart() { installQtTranslations(); }
Q_COREAPP_STARTUP_FUNCTION(installTranslationsAtStart)

}  // namespace

JobControlTab::JobControlTab(QPrintDialog& dialog)
    : JobControlTab(dialog, Opening::OnJobControlTab) {}

JobControlTab::JobControlTab(QPrintDialog& dialog, Opening opening)
    : d_(std::make_unique<Private>()) {
  installQtTranslations();
  PanelTabOptions options;
  options.modulePath = modulePathFor(&anchor);
  options.openOnTab = opening == Opening::OnJobControlTab;
  if (QPrinter* printer = dialog.printer(); printer && !printer->docName().isEmpty())
    options.jobName = printer->docName().toStdString();
  try {
    d_->tab = std::make_unique<PanelTab>(dialog, options);
  } catch (const std::exception& e) {
    d_->error = QString::fromStdString(e.what());
    return;
  }
  // After the dialog has set up its printer (its own CUPS options included).
  QObject::connect(&dialog, &QDialog::accepted, &d_->tab->widget(), [this, &dialog] {
    const PrintSettings& entries = d_->tab->accept();
    // The standard attributes (a PIN among them) go to the job alone, not
    // into the entries the application can read.
    if (QPrinter* printer = dialog.printer())
      addEntriesTo(*printer, withStandardAttributes(entries, d_->tab->standardAttributes()));
    d_->entries.clear();
    for (int i = 0; i < entries.count(); ++i)
      d_->entries.append({QString::fromUtf8(entries.options()[i].name),
                          QString::fromUtf8(entries.options()[i].value)});
  });
}

JobControlTab::~JobControlTab() = default;

bool JobControlTab::isValid() const { return d_->tab != nullptr; }
QString JobControlTab::errorString() const { return d_->error; }
QList<QPair<QString, QString>> JobControlTab::entries() const { return d_->entries; }

}  // namespace jc::qt
