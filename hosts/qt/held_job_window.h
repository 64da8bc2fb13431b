// The window the agent opens for a job that waits for Job Control: what was
// printed and to which printer, the Job Control tab for the job's printer
// (its held values, the folder-list button, a driverless printer's notes),
// and "Print", "Cancel Job" and "Later".
#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "hosts/common/standard_attribute_mode.h"
#include "hosts/qt/panel_tab.h"
#include "plugin/host.h"

class QLabel;
class QPushButton;

namespace jc::qt {

// What the window says of the job.
struct HeldJobFacts {
  int id = 0;
  std::string printer;       // the CUPS queue
  std::string title;         // job-name, as the application named the job
  std::string documentName;  // document-name-supplied, or empty
};

// What the buttons do to the job; each throws HostError with the reason.
struct HeldJobActions {
  // The entries and the standard-attribute plan onto the job, then release.
  std::function<void(const PrintSettings&, const StandardAttributePlan&)> release;
  std::function<void()> cancel;
};

class HeldJobWindow final : public QDialog {
 public:
  // How the window closed: Later is QDialog's Rejected.
  enum Outcome { Later = QDialog::Rejected, Printed = QDialog::Accepted, Cancelled, Gone };

  // `tabOptions` as for the dialog's tab; the job's name is its title.
  HeldJobWindow(const HeldJobFacts& job, PanelTabOptions tabOptions, HeldJobActions actions);
  ~HeldJobWindow() override;

  int jobId() const { return job_.id; }
  PanelTab& tab() { return *tab_; }
  QPushButton& printButton() const { return *print_; }
  QPushButton& cancelButton() const { return *cancel_; }
  QPushButton& laterButton() const { return *later_; }
  // The job went on or ended elsewhere: the window closes, nothing is done.
  void jobGone() { done(Gone); }

 private:
  void print();
  void cancelJob();
  void showFailure(const std::string& message);

  HeldJobFacts job_;
  HeldJobActions actions_;
  std::unique_ptr<PanelTab> tab_;
  QLabel* failure_ = nullptr;
  QPushButton* print_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* later_ = nullptr;
};

}  // namespace jc::qt
