#include "hosts/qt/folder_list_feedback.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QLabel>

#include "hosts/qt/qt_toolkit.h"
#include "hosts/qt/qt_view.h"

namespace jc::qt {
namespace {

// The status line under the button, made on the first success.
QLabel* statusLine(QtView& view) {
  QtControl* box = view.control("filingBox");
  QWidget* group = box ? box->widget() : nullptr;
  if (!group) return nullptr;
  if (auto* line = group->findChild<QLabel*>(QStringLiteral("folderListStatus"))) return line;
  auto* grid = qobject_cast<QGridLayout*>(group->layout());
  if (!grid) return nullptr;
  auto* line = new QLabel;
  line->setObjectName(QStringLiteral("folderListStatus"));
  grid->addWidget(line, grid->rowCount(), 0, 1, grid->columnCount());
  return line;
}

}  // namespace

void watchFolderList(QtView& view, QtToolkit& toolkit,
                     std::function<std::optional<FolderListOutcome>()> outcome,
                     std::function<QString(const Message&)> text) {
  QtControl* button = view.control("getFolderNameButton");
  auto* widget = button ? qobject_cast<QAbstractButton*>(button->widget()) : nullptr;
  if (!widget) return;
  // The panel alerts from inside the request, before it knows the reason:
  // the alert waits until its action is done.
  QObject::connect(widget, &QAbstractButton::pressed, widget, [&toolkit] { toolkit.holdAlerts(); });
  QObject::connect(widget, &QAbstractButton::clicked, widget, [&view, &toolkit, outcome, text] {
    QtControl* busy = view.control("chasingArrow");
    if (busy && !busy->isHidden()) return;  // a press while the request waits
    const std::optional<FolderListOutcome> now = outcome();
    const bool success = now && now->kind == FolderListOutcome::Kind::Success;
    if (QLabel* line = success ? statusLine(view) : nullptr) line->setText(text(now->wording));
    toolkit.showHeldAlerts(now && !success ? text(now->wording) : QString());
  });
}

}  // namespace jc::qt
