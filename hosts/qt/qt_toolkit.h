// The Qt toolkit: QUiLoader builds the panel's widgets from the bundle's
// layouts; alerts are window-modal message boxes.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "hosts/qt/qt_view.h"
#include "ui/toolkit.h"

class QMessageBox;

namespace jc::qt {

struct AlertRecord {
  std::u16string title;
  std::u16string message;
  std::u16string button;
  bool operator==(const AlertRecord&) const = default;
};

class QtToolkit final : public Toolkit {
 public:
  // Needs a QApplication.
  std::unique_ptr<View> loadLayout(const std::filesystem::path& file, ActionTarget* owner) override;
  ImagePtr systemIcon(std::uint32_t typeCode, int width, int height) override;
  // Shows a message box, modal to the window of the last loaded view, and
  // returns once it has been dismissed.
  void alert(const std::u16string& title, const std::u16string& message,
             const std::u16string& button) override;

  // Called with every alert as soon as it is shown (tests answer it here).
  void setAlertObserver(std::function<void(QMessageBox&)> observer) {
    alertObserver_ = std::move(observer);
  }
  const std::vector<AlertRecord>& alerts() const { return alerts_; }
  // While held, alerts are recorded but not shown until showHeldAlerts shows
  // them, with `detail` (when not empty) as the boxes' informative text: a
  // host that learns why only after the panel's action adds the reason.
  void holdAlerts() { holding_ = true; }
  void showHeldAlerts(const QString& detail);
  // Why the last load failed; empty after a successful one.
  const std::string& lastError() const { return lastError_; }

 private:
  QPointer<QWidget> lastRoot_;
  std::function<void(QMessageBox&)> alertObserver_;
  std::vector<AlertRecord> alerts_;
  bool holding_ = false;
  std::vector<AlertRecord> held_;
  std::string lastError_;

  void show(const AlertRecord& alert, const QString& detail);
};

}  // namespace jc::qt
