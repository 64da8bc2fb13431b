// The Job Control tab of a Qt print dialog: the panel that the module's
// factory makes for the printer chosen in the dialog, made anew when the user
// picks another printer, in the dialog's order (view, will-show, restore;
// save and should-print when the user prints).
#pragma once

#include <QPointer>
#include <QString>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "hosts/common/cups_destination.h"
#include "hosts/common/module_loader.h"
#include "hosts/common/panel_session.h"
#include "hosts/common/printer_host.h"
#include "hosts/common/standard_attribute_mode.h"
#include "hosts/qt/qt_run_loop.h"
#include "hosts/qt/qt_toolkit.h"
#include "platform/directory_bundle.h"

class QAbstractPrintDialog;
class QComboBox;
class QLabel;
class QVBoxLayout;
class QWidget;

namespace jc::qt {

struct PanelTabOptions {
  std::filesystem::path modulePath;
  // The resources beside the module; none: found from the module's place.
  std::optional<std::filesystem::path> bundleFolder;
  std::optional<std::filesystem::path> prefsFolder;  // none: the panel's default
  std::optional<std::string> jobName;                // the document's name
  // Whether jobs also carry the standard job attributes of a driverless printer.
  StandardAttributeMode standardAttributes = StandardAttributeMode::Auto;
  // The dialog opens with its options part shown and this tab in front.
  bool openOnTab = true;
};

class PanelTab {
 public:
  // Loads the module (throws ModuleError) and adds the tab to `dialog`. The
  // panel for the dialog's printer is made when the tab is first shown.
  PanelTab(QAbstractPrintDialog& dialog, PanelTabOptions options);
  // The tab alone, for the CUPS queue `printerName`, for a window of the
  // host's own: widget() goes into it (a QTabWidget shows the panel's name).
  PanelTab(PanelTabOptions options, const QString& printerName);
  ~PanelTab();
  PanelTab(const PanelTab&) = delete;
  PanelTab& operator=(const PanelTab&) = delete;

  // Makes the panel now, as showing the tab first does.
  void ensurePanel();
  // Shows the panel for a CUPS queue; another name (or none) shows it for
  // the embedded default printer. Before the panel is made, notes the name.
  void showPrinter(const QString& printerName);
  // The user prints: the panel (made now if the tab was never shown) saves
  // its entries and stores the preferences.
  // Answers the entries that go with the job.
  const PrintSettings& accept();

  // The standard job attributes that go with the job beside the entries, as
  // of the latest accept (before it, as the panel was opened); their notes
  // show in one line under the panel.
  const StandardAttributePlan& standardAttributes() const { return plan_; }

  QWidget& widget() const { return *container_; }
  QtToolkit& toolkit() { return toolkit_; }
  // The panel, its view and the printer it was made for; null while none.
  PrintDialogExtension* panel() const {
    return session_ && session_->dialog ? &session_->dialog->panel() : nullptr;
  }
  QtView* view() const;
  const PrinterInfo* printer() const { return session_ ? &session_->host->printer() : nullptr; }
  // Why the panel could not be made for the printer, or empty.
  const std::string& error() const { return error_; }

 private:
  struct Session {
    std::optional<CupsDestination> destination;
    std::unique_ptr<PrinterHost> host;
    std::optional<PanelSession> dialog;  // the panel and its view
    // Read once for the printer: asking it again at Print could wait as long.
    std::optional<PrinterCapabilities> capabilities;
  };

  // The tab's widgets, the panel made when they are first shown.
  void build();
  PrinterInfo printerFor(const QString& name, Session& session) const;
  void open(Session& session);
  // Puts the panel's view in the tab under the panel's name, with the
  // tab's notes, tool tips and folder-list watch.
  void place(PrintDialogExtension& panel, View& view);
  void showError(const std::string& message);
  // A line in the tab in place of the panel.
  void showMessage(const QString& message);
  // A message of the hosts' catalogue in the user's language.
  QString hostText(const Message& message) const;
  // Asks the panel for its plan for the session's printer and shows the notes.
  void refreshStandardAttributes();
  // The tab's title, also on the dialog's tab.
  void showTitle(const QString& title);

  PanelTabOptions options_;
  const LoadedModule& module_;  // loaded once for the application
  PanelFactory factory_;
  QtToolkit toolkit_;
  QtRunLoop runLoop_;
  QPointer<QWidget> container_;
  QVBoxLayout* layout_ = nullptr;
  QWidget* scroll_ = nullptr;  // the panel's scroll area, in the container
  QPointer<QWidget> message_;
  QLabel* notes_ = nullptr;                          // the plan's notes, under the panel
  mutable std::optional<DirectoryBundle> messages_;  // read on the first note
  StandardAttributePlan plan_;
  std::unique_ptr<Session> session_;
  bool built_ = false;
  QString pendingName_;  // the printer the dialog shows
  QString shownName_;    // the dialog's name of the printer the session is for
  std::string error_;
};

// The printer chooser of Qt's print dialog, or null.
QComboBox* printerChooserOf(QAbstractPrintDialog& dialog);

}  // namespace jc::qt
