#include "hosts/qt/qt_toolkit.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QUiLoader>
#include <utility>

#include "hosts/qt/qt_text.h"

namespace jc::qt {
namespace {

// One loader for the application: making one looks for Designer plug-ins.
QUiLoader& sharedLoader() {
  static QPointer<QUiLoader> loader;
  if (!loader) loader = new QUiLoader(QCoreApplication::instance());
  return *loader;
}

}  // namespace

std::unique_ptr<View> QtToolkit::loadLayout(const std::filesystem::path& file,
                                            ActionTarget* owner) {
  lastError_.clear();
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
    lastError_ = "no QApplication to make widgets with";
    return nullptr;
  }
  QFile ui(QString::fromStdString(file.string()));
  if (!ui.open(QIODevice::ReadOnly)) {
    lastError_ = "cannot read layout file " + file.string();
    return nullptr;
  }
  QUiLoader& loader = sharedLoader();
  QWidget* root = loader.load(&ui, nullptr);
  if (!root) {
    lastError_ =
        "cannot load layout file " + file.string() + ": " + loader.errorString().toStdString();
    return nullptr;
  }
  lastRoot_ = root;
  return std::make_unique<QtView>(root, owner);
}

ImagePtr QtToolkit::systemIcon(std::uint32_t typeCode, int width, int height) {
  return std::make_shared<const Image>(Image{typeCode, {}, width, height});
}

void QtToolkit::alert(const std::u16string& title, const std::u16string& message,
                      const std::u16string& button) {
  alerts_.push_back(AlertRecord{title, message, button});
  if (holding_) return held_.push_back(alerts_.back());
  show(alerts_.back(), QString());
}

void QtToolkit::showHeldAlerts(const QString& detail) {
  holding_ = false;
  const std::vector<AlertRecord> held = std::exchange(held_, {});
  for (const AlertRecord& alert : held) show(alert, detail);
}

void QtToolkit::show(const AlertRecord& alert, const QString& detail) {
  QWidget* parent = lastRoot_ ? lastRoot_->window() : nullptr;
  QMessageBox box(QMessageBox::Information, toQString(alert.title), toQString(alert.message),
                  QMessageBox::NoButton, parent);
  if (!detail.isEmpty()) box.setInformativeText(detail);
  box.addButton(alert.button.empty() ? QStringLiteral("OK") : toQString(alert.button),
                QMessageBox::AcceptRole);
  box.setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
  QEventLoop loop;
  QObject::connect(&box, &QDialog::finished, &loop, &QEventLoop::quit);
  box.open();
  if (alertObserver_) alertObserver_(box);
  if (box.isVisible()) loop.exec();
}

}  // namespace jc::qt
