#include "hosts/qt/held_job_window.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "hosts/common/host_error.h"
#include "hosts/common/host_translation.h"

namespace jc::qt {
namespace {

QString text(const std::string& utf8) { return QString::fromStdString(utf8); }

// "\"Report\" waits to be printed on Office", with the document's name when the
// application gave one of its own.
QLabel* factsLabel(const HeldJobFacts& job) {
  QString facts = text(jc::tr("\"{0}\" waits to be printed on {1}.", {job.title, job.printer}));
  if (!job.documentName.empty() && job.documentName != job.title)
    facts += QLatin1Char('\n') + text(jc::tr("Document: {0}", {job.documentName}));
  auto* label = new QLabel(facts);
  label->setObjectName(QStringLiteral("jobFacts"));
  label->setWordWrap(true);
  label->setTextFormat(Qt::PlainText);
  return label;
}

}  // namespace

HeldJobWindow::HeldJobWindow(const HeldJobFacts& job, PanelTabOptions tabOptions,
                             HeldJobActions actions)
    : job_(job), actions_(std::move(actions)) {
  setWindowTitle(text(jc::tr("Job Control: {0}", {job.title})));
  tabOptions.jobName = job.title;
  tab_ = std::make_unique<PanelTab>(std::move(tabOptions), text(job.printer));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(factsLabel(job));
  auto* tabs = new QTabWidget;
  tabs->addTab(&tab_->widget(), tab_->widget().windowTitle());
  layout->addWidget(tabs, 1);
  failure_ = new QLabel;
  failure_->setObjectName(QStringLiteral("jobFailure"));
  failure_->setWordWrap(true);
  failure_->hide();
  layout->addWidget(failure_);
  auto* buttons = new QDialogButtonBox;
  print_ = buttons->addButton(text(jc::tr("Print")), QDialogButtonBox::AcceptRole);
  cancel_ = buttons->addButton(text(jc::tr("Cancel Job")), QDialogButtonBox::DestructiveRole);
  later_ = buttons->addButton(text(jc::tr("Later")), QDialogButtonBox::RejectRole);
  print_->setDefault(true);
  layout->addWidget(buttons);
  connect(print_, &QPushButton::clicked, this, [this] { print(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { cancelJob(); });
  connect(later_, &QPushButton::clicked, this, &QDialog::reject);
  // The tab holds the job's entries until the user prints: build it now.
  tab_->ensurePanel();
}

HeldJobWindow::~HeldJobWindow() {
  // The panel goes before the widgets it lives in.
  tab_.reset();
}

void HeldJobWindow::print() {
  try {
    const PrintSettings& entries = tab_->accept();
    actions_.release(entries, tab_->standardAttributes());
  } catch (const HostError& e) {
    return showFailure(jc::tr(e.message()));
  } catch (const std::exception& e) {
    return showFailure(e.what());
  }
  done(Printed);
}

void HeldJobWindow::cancelJob() {
  try {
    actions_.cancel();
  } catch (const HostError& e) {
    return showFailure(jc::tr(e.message()));
  }
  done(Cancelled);
}

void HeldJobWindow::showFailure(const std::string& message) {
  failure_->setText(text(message));
  failure_->show();
}

}  // namespace jc::qt
