#include "hosts/qt/qt_translations.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>
#include <memory>

#include "platform/directory_bundle.h"

namespace jc::qt {
namespace {

const QString kCatalogue = QStringLiteral("qtbase_");

// The catalogue installed, a child of the application it is installed in.
QPointer<QTranslator>& installed() {
  static QPointer<QTranslator> translator;
  return translator;
}

}  // namespace

QString qtCatalogueFile(const QString& language, const QString& folder) {
  if (language.isEmpty() || language == QLatin1String("en")) return {};
  // "ja_JP" falls back to "ja", as Qt's own lookup does.
  for (QString name = language; !name.isEmpty();) {
    const QFileInfo file(folder + QLatin1Char('/') + kCatalogue + name + QStringLiteral(".qm"));
    if (file.isReadable()) return file.filePath();
    const qsizetype cut = name.lastIndexOf(QLatin1Char('_'));
    name = cut > 0 ? name.left(cut) : QString();
  }
  return {};
}

bool installQtTranslations() {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return false;
  if (installed()) return true;
  const QString file =
      qtCatalogueFile(QString::fromStdString(DirectoryBundle::languageFromEnvironment()),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  if (file.isEmpty()) return false;
  auto translator = std::make_unique<QTranslator>(app);
  if (!translator->load(file) || !QCoreApplication::installTranslator(translator.get()))
    return false;
  installed() = translator.release();
  return true;
}

void removeQtTranslations() {
  if (!installed()) return;
  QCoreApplication::removeTranslator(installed());
  delete installed();
}

}  // namespace jc::qt
