#include "hosts/qt/filing_note.h"

#include <QGridLayout>
#include <QLabel>
#include <QWidget>

#include "hosts/qt/qt_view.h"

namespace jc::qt {

void addFilingNote(QtView& view, const QString& text) {
  QtControl* box = view.control("filingBox");
  QWidget* group = box ? box->widget() : nullptr;
  auto* grid = group ? qobject_cast<QGridLayout*>(group->layout()) : nullptr;
  if (!grid) return;
  auto* note = new QLabel(text);
  note->setObjectName(QStringLiteral("filingNote"));
  note->setWordWrap(true);
  grid->addWidget(note, grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace jc::qt
