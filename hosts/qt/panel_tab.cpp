#include "hosts/qt/panel_tab.h"

#include <QAbstractPrintDialog>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QPrinter>
#include <QTabWidget>
#include <QVBoxLayout>
#include <functional>
#include <map>

#include "hosts/common/printer_notes.h"
#include "hosts/common/queue_kind.h"
#include "hosts/qt/change_watch.h"
#include "hosts/qt/dialog_opening.h"
#include "hosts/qt/eliding_pop_up.h"
#include "hosts/qt/filing_note.h"
#include "hosts/qt/fitting_scroll_area.h"
#include "hosts/qt/folder_list_feedback.h"
#include "hosts/qt/lock_tool_tips.h"
#include "hosts/qt/qt_text.h"
#include "platform/directory_bundle.h"
#include "platform/text.h"

namespace jc::qt {
namespace {

std::filesystem::path bundleFolderFor(const PanelTabOptions& options) {
  if (options.bundleFolder) return *options.bundleFolder;
  static const int anchor = 0;
  if (auto folder = DirectoryBundle::findFolder(&anchor)) return *folder;
  return DirectoryBundle::folderForModule(options.modulePath).value_or(std::filesystem::path());
}

// The module at `file`, loaded the first time a dialog asks for it and kept
// for the application's life, as Qt keeps its plug-ins: a print dialog opens
// without loading it again.
const LoadedModule& moduleAt(const std::filesystem::path& file) {
  static std::map<std::filesystem::path, std::unique_ptr<LoadedModule>> modules;
  auto& module = modules[file];
  if (!module) module = std::make_unique<LoadedModule>(file);  // throws ModuleError
  return *module;
}

// Calls `shown` once, when the watched widget is first shown.
class FirstShowWatcher final : public QObject {
 public:
  FirstShowWatcher(QWidget& widget, std::function<void()> shown)
      : QObject(&widget), shown_(std::move(shown)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && shown_) {
      auto shown = std::move(shown_);
      shown_ = nullptr;
      shown();
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> shown_;
};

}  // namespace

QComboBox* printerChooserOf(QAbstractPrintDialog& dialog) {
  return dialog.findChild<QComboBox*>(QStringLiteral("printers"));
}

PanelTab::PanelTab(QAbstractPrintDialog& dialog, PanelTabOptions options)
    : options_(std::move(options)), module_(moduleAt(options_.modulePath)), factory_(module_) {
  build();
  dialog.setOptionTabs({container_.data()});
  // The chooser names the printer the dialog shows (also "Print to File").
  pendingName_ = dialog.printer() ? dialog.printer()->printerName() : QString();
  if (QComboBox* chooser = printerChooserOf(dialog)) {
    if (!chooser->currentText().isEmpty()) pendingName_ = chooser->currentText();
    QObject::connect(chooser, &QComboBox::currentTextChanged, container_.data(),
                     [this](const QString& name) { showPrinter(name); });
  }
  openDialogWith(dialog, *container_, options_.openOnTab);
}

PanelTab::PanelTab(PanelTabOptions options, const QString& printerName)
    : options_(std::move(options)), module_(moduleAt(options_.modulePath)), factory_(module_) {
  build();
  pendingName_ = printerName;
}

void PanelTab::build() {
  container_ = new QWidget;
  // The tab's title before the panel is made: the panel's name from its
  // string tables, in the user's language.
  container_->setWindowTitle(toQString(
      DirectoryBundle(bundleFolderFor(options_), DirectoryBundle::languageFromEnvironment())
          .localizedString(u"Job Control")));
  // The panel scrolls when the screen is too small for the whole dialog.
  auto* content = new QWidget;
  auto* outer = new QVBoxLayout(container_);
  outer->setContentsMargins(0, 0, 0, 0);
  scroll_ = new FittingScrollArea(content);
  outer->addWidget(scroll_);
  layout_ = new QVBoxLayout(content);
  layout_->setContentsMargins(0, 0, 0, 0);
  notes_ = new QLabel;
  notes_->setObjectName(QStringLiteral("standardAttributeNotes"));
  notes_->setWordWrap(true);
  notes_->hide();
  layout_->addWidget(notes_);
  // The panel is made when the user first shows the tab (or prints), so the
  // window opens as fast as without it.
  container_->installEventFilter(new FirstShowWatcher(*container_, [this] { ensurePanel(); }));
}

void PanelTab::ensurePanel() {
  if (built_) return;
  built_ = true;
  showPrinter(pendingName_);
}

PanelTab::~PanelTab() {
  // The panel's view goes with the panel, before the dialog's widgets.
  session_.reset();
}

QtView* PanelTab::view() const {
  return panel() ? dynamic_cast<QtView*>(panel()->panelView()) : nullptr;
}

PrinterInfo PanelTab::printerFor(const QString& name, Session& session) const {
  if (!name.isEmpty()) {
    try {
      session.destination.emplace(name.toStdString());
      return session.destination->printer();
    } catch (const DestinationError&) {
      // Not a CUPS queue (the dialog's file output): the embedded default.
    }
  }
  return embeddedDefaultPrinter(bundleFolderFor(options_));
}

void PanelTab::showPrinter(const QString& printerName) {
  pendingName_ = printerName;
  if (!built_ || (session_ && shownName_ == printerName)) return;
  auto session = std::make_unique<Session>();
  PrinterInfo printer;
  try {
    printer = printerFor(printerName, *session);
  } catch (const std::exception& e) {
    return showError(e.what());
  }
  shownName_ = printerName;
  // Two names of one printer (the dialog's file output and none are both the
  // embedded default) keep the panel the user already works in.
  if (session_ && session_->host->printer().id == printer.id &&
      session_->host->printer().cupsDestination == printer.cupsDestination)
    return;
  session_.reset();
  if (message_) delete message_.data();
  error_.clear();
  try {
    session->host =
        std::make_unique<PrinterHost>(printer, options_.prefsFolder, &toolkit_, &runLoop_);
    if (options_.jobName) session->host->settings().setJobName(options_.jobName);
    // A queue that reads none of it gets the note alone, and its jobs no entries.
    if (!takesJobControl(queueKindOf(printer, session->host->ppdFile()),
                         options_.standardAttributes)) {
      session_ = std::move(session);
      refreshStandardAttributes();
      return showMessage(hostText(notJobControlNote()));
    }
    open(*session);
    session->capabilities =
        capabilitiesFor(options_.standardAttributes, printer, session->host->ppdFile());
  } catch (const std::exception& e) {
    return showError(e.what());
  }
  session_ = std::move(session);
  refreshStandardAttributes();
  // The notes follow every change of the controls they come from.
  watchChanges(*view()->rootWidget(), *view()->rootWidget(),
               [this] { refreshStandardAttributes(); });
}

void PanelTab::open(Session& session) {
  try {
    session.dialog =
        PanelSession::open(factory_, *session.host,
                           [this](PrintDialogExtension& panel, View& view) { place(panel, view); });
  } catch (const PanelError& e) {
    if (toolkit_.lastError().empty()) throw;
    throw std::runtime_error(std::string(e.what()) + ": " + toolkit_.lastError());
  }
}

void PanelTab::place(PrintDialogExtension& panel, View& panelView) {
  auto* view = dynamic_cast<QtView*>(&panelView);
  if (!view || !view->rootWidget())
    throw std::runtime_error("the panel has no view: " + toolkit_.lastError());
  showTitle(toQString(panel.panelName()));
  layout_->insertWidget(layout_->indexOf(notes_), view->rootWidget());
  scroll_->updateGeometry();
  if (!panel.printerKeepsFiledJobs()) addFilingNote(*view, hostText(noFilingNote()));
  addLockToolTips(*view, hostText(lockToolTip()));
  for (QComboBox* popUp : view->rootWidget()->findChildren<QComboBox*>()) elideClosedPopUp(*popUp);
  watchFolderList(
      *view, toolkit_, [&panel] { return panel.folderListOutcome(); },
      [this](const Message& message) { return hostText(message); });
}

void PanelTab::showTitle(const QString& title) {
  container_->setWindowTitle(title);
  for (QWidget* w = container_->parentWidget(); w; w = w->parentWidget())
    if (auto* tabs = qobject_cast<QTabWidget*>(w); tabs && tabs->indexOf(container_) >= 0)
      tabs->setTabText(tabs->indexOf(container_), title);
}

void PanelTab::showError(const std::string& message) {
  error_ = message;
  showMessage(QString::fromStdString(message));
}

void PanelTab::showMessage(const QString& message) {
  auto* label = new QLabel(message);
  label->setObjectName(QStringLiteral("tabMessage"));
  label->setWordWrap(true);
  message_ = label;
  layout_->insertWidget(layout_->indexOf(notes_), label);
  scroll_->updateGeometry();
}

QString PanelTab::hostText(const Message& message) const {
  // The hosts' messages, in the command line's catalogue beside the panel's.
  if (!messages_)
    messages_.emplace(bundleFolderFor(options_), DirectoryBundle::languageFromEnvironment(),
                      DirectoryBundle::kCommandLineDomain);
  return QString::fromStdString(
      formatMessage(toUtf8(messages_->localizedString(fromUtf8(message.pattern))), message.values));
}

void PanelTab::refreshStandardAttributes() {
  plan_ = session_ && session_->dialog
              ? standardAttributePlan(session_->dialog->panel(), session_->capabilities)
              : StandardAttributePlan{};
  QStringList lines;
  for (const Message& note : plan_.notes) lines << hostText(note);
  notes_->setText(lines.join(QLatin1Char(' ')));
  notes_->setVisible(!lines.isEmpty());
}

const PrintSettings& PanelTab::accept() {
  static const PrintSettings none;
  ensurePanel();
  if (!session_ || !session_->dialog) return none;
  session_->dialog->finish();
  refreshStandardAttributes();
  return session_->host->settings();
}

}  // namespace jc::qt
