// Qt's own texts (the print dialog's buttons and labels, its Properties
// dialog) in the user's language: Qt's "qtbase" catalogue from Qt's
// translations folder, for the language the panel chooses its labels in.
#pragma once

#include <QString>

namespace jc::qt {

// Installs Qt's catalogue for the environment's language into the running
// application, once; widgets made afterwards speak it. False when the
// language is English or Qt has no catalogue for it (English stays).
bool installQtTranslations();
// Takes the installed catalogue out again; Qt's texts go back to English.
void removeQtTranslations();

// The same for a given language ("ja", "ja_JP") and catalogue folder,
// without installing: the catalogue's file, or empty when there is none.
QString qtCatalogueFile(const QString& language, const QString& folder);

}  // namespace jc::qt
