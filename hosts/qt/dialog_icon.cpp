#include "hosts/qt/dialog_icon.h"

#include <QDir>
#include <QFileInfo>

namespace jc::qt {

QIcon dialogIcon(const std::filesystem::path& bundleFolder) {
  const QString name = QStringLiteral("jobcontrol-dialog");
  if (QIcon::hasThemeIcon(name)) return QIcon::fromTheme(name);
  QIcon icon;
  const QDir hicolor(
      QString::fromStdString((bundleFolder.parent_path() / "icons/hicolor").string()));
  for (const QString& size : hicolor.entryList({QStringLiteral("*x*")}, QDir::Dirs)) {
    const QFileInfo png(hicolor.filePath(size + QStringLiteral("/apps/") + name + ".png"));
    if (png.isReadable()) icon.addFile(png.filePath());
  }
  return icon;
}

}  // namespace jc::qt
