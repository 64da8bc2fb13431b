// The Job Control tab for a Qt application's print dialog.
//
//   QPrinter printer;
//   QPrintDialog dialog(&printer);
//   jc::qt::JobControlTab tab(dialog);
//   if (dialog.exec() == QDialog::Accepted) { QPainter painter(&printer); ... }
//
// The tab shows the Job Control panel for the printer chosen in the dialog.
// When the dialog is accepted the panel saves its entries and they are put
// on the dialog's QPrinter, so the job the application paints carries them
// to CUPS. The panel module is loaded from beside this library (or from
// JOBCONTROL_MODULE); when it cannot be loaded the dialog has no such tab and
// errorString() says why.
//
// The dialog opens with its options part shown and the Job Control tab in
// front, fitted to the screen it opens on; Opening::AsQtOpensIt keeps Qt's
// own opening (options closed). While the library is loaded, Qt's own texts
// speak the user's language: Qt's "qtbase" catalogue for the language of
// LANGUAGE, LC_ALL, LC_MESSAGES or LANG is installed into the application
// when it starts (package qt6-translations-l10n).
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <memory>

class QPrintDialog;

namespace jc::qt {

class PanelTab;

class __attribute__((visibility("default"))) JobControlTab {
 public:
  enum class Opening {
    OnJobControlTab,  // options shown, the Job Control tab in front
    AsQtOpensIt,      // options closed until the user presses "Options >>"
  };

  explicit JobControlTab(QPrintDialog& dialog);
  JobControlTab(QPrintDialog& dialog, Opening opening);
  ~JobControlTab();
  JobControlTab(const JobControlTab&) = delete;
  JobControlTab& operator=(const JobControlTab&) = delete;

  // Whether the panel module was loaded and the tab added.
  bool isValid() const;
  QString errorString() const;
  // The entries put on the printer when the dialog was last accepted.
  QList<QPair<QString, QString>> entries() const;

 private:
  struct Private;
  std::unique_ptr<Private> d_;
};

}  // namespace jc::qt
