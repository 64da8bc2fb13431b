// How the print dialog opens with the Job Control tab: Qt's own texts in the
// user's language, the options shown with the tab in front, and the window
// on its screen.
#include "hosts/qt/dialog_opening.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <fstream>

#include "hosts/qt/qt_translations.h"
#include "hosts/qt/window_fit.h"
#include "jobcontrol/qt/job_control_tab.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace jc::test {
namespace {

QString printButtonText(QPrintDialog& dialog) {
  auto* box = dialog.findChild<QDialogButtonBox*>();
  return box && box->button(QDialogButtonBox::Ok) ? box->button(QDialogButtonBox::Ok)->text()
                                                  : QString();
}

TEST(QtTranslationsTest, QtsOwnTextsFollowTheUsersLanguage) {
  ScopedEnv env;
  env.set("LANGUAGE", "ja_JP").set("LC_ALL", "C.UTF-8");
  ASSERT_TRUE(qt::installQtTranslations()) << "qtbase_ja.qm (qt6-translations-l10n) is missing";
  {
    QPrinter printer;
    QPrintDialog dialog(&printer);
    EXPECT_TRUE(printButtonText(dialog).startsWith(QStringLiteral("印刷")))
        << printButtonText(dialog).toStdString();
  }
  qt::removeQtTranslations();
  env.set("LANGUAGE", "en");
  EXPECT_FALSE(qt::installQtTranslations());
  QPrinter printer;
  QPrintDialog dialog(&printer);
  EXPECT_EQ(printButtonText(dialog), "&Print");
}

TEST(QtTranslationsTest, CatalogueFileFallsBackToTheLanguageAlone) {
  TempDir dir;
  std::ofstream((dir.path() / "qtbase_ja.qm").string()) << "x";
  const QString folder = QString::fromStdString(dir.path().string());
  EXPECT_EQ(qt::qtCatalogueFile("ja_JP", folder), folder + "/qtbase_ja.qm");
  EXPECT_EQ(qt::qtCatalogueFile("ja", folder), folder + "/qtbase_ja.qm");
  EXPECT_EQ(qt::qtCatalogueFile("fr_FR", folder), "");
  EXPECT_EQ(qt::qtCatalogueFile("en", folder), "");
}

TEST(WindowFitTest, FittedGeometryKeepsTheWindowInTheFreeArea) {
  const QRect screen(0, 0, 1280, 800);
  const QMargins frame(5, 30, 5, 5);
  struct Case {
    const char* what;
    QRect current;
    QSize wanted, minimum;
    QMargins frame;
    QRect available, fitted;
  };
  const Case cases[] = {
      {"fits where it is",
       {100, 100, 339, 183},
       {439, 617},
       {300, 300},
       {},
       screen,
       {100, 100, 439, 617}},
      {"grew off the bottom: moved up",
       {400, 500, 339, 183},
       {439, 617},
       {300, 300},
       {},
       screen,
       {400, 183, 439, 617}},
      {"with its frame",
       {400, 500, 339, 183},
       {439, 617},
       {300, 300},
       frame,
       screen,
       {400, 178, 439, 617}},
      {"taller than the screen: as tall as the free area",
       {400, 500, 339, 183},
       {439, 900},
       {300, 300},
       frame,
       screen,
       {400, 30, 439, 765}},
      {"its minimum taller than the screen: from the top",
       {400, 500, 339, 183},
       {439, 900},
       {300, 900},
       frame,
       screen,
       {400, 30, 439, 900}},
      {"on a second screen",
       {100, 100, 339, 183},
       {439, 617},
       {300, 300},
       frame,
       {1280, 0, 1024, 768},
       {1285, 100, 439, 617}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(qt::fittedGeometry(c.current, c.wanted, c.minimum, c.frame, c.available), c.fitted)
        << c.what;
}

class DialogOpeningTest : public ::testing::Test {
 protected:
  DialogOpeningTest() {
    env_.set("JOBCONTROL_MODULE", JC_MODULE_PATH)
        .set("XDG_CONFIG_HOME", dir_.path().string())
        .set("LANGUAGE", "en")
        .set("JOBCONTROL_BUNDLE_DIR", JC_BUILD_BUNDLE_DIR);
    printer_.setOutputFileName(QString::fromStdString((dir_.path() / "out.pdf").string()));
  }

  // The option tabs when the dialog is shown, and the one in front.
  QWidget* frontTab(QPrintDialog& dialog) {
    dialog.show();
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    QTabWidget* tabs = nullptr;
    for (QTabWidget* t : dialog.findChildren<QTabWidget*>())
      for (int i = 0; i < t->count(); ++i)
        if (t->tabText(i) == "Job Control") tabs = t;
    return tabs && tabs->isVisible() ? tabs->currentWidget() : nullptr;
  }

  ScopedEnv env_;
  TempDir dir_;
  QPrinter printer_;
};

TEST_F(DialogOpeningTest, OpensWithTheTabInFrontAndOnTheScreen) {
  QPrintDialog dialog(&printer_);
  qt::JobControlTab tab(dialog);
  ASSERT_TRUE(tab.isValid());
  QWidget* front = frontTab(dialog);
  ASSERT_NE(front, nullptr) << "the options are not shown";
  EXPECT_NE(front->findChild<QWidget*>("retentionCheckBox"), nullptr);
  EXPECT_TRUE(dialog.screen()->availableGeometry().contains(dialog.frameGeometry()))
      << dialog.frameGeometry().height();
  // Closing and opening the options again keeps it there.
  qt::optionsButtonOf(dialog)->click();
  qt::optionsButtonOf(dialog)->click();
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
  EXPECT_TRUE(dialog.screen()->availableGeometry().contains(dialog.frameGeometry()));
}

TEST_F(DialogOpeningTest, AnApplicationMayKeepQtsOwnOpening) {
  QPrintDialog dialog(&printer_);
  qt::JobControlTab tab(dialog, qt::JobControlTab::Opening::AsQtOpensIt);
  ASSERT_TRUE(tab.isValid());
  EXPECT_EQ(frontTab(dialog), nullptr);
}

}  // namespace
}  // namespace jc::test
