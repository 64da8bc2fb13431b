// The Job Control tab in Qt's own print dialog, through the library an
// application links: the panel for the dialog's printer, nothing stored on
// Cancel, the entries saved and the preferences stored on Print.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QTabWidget>
#include <QTest>
#include <filesystem>

#include "hosts/qt/dialog_picture.h"
#include "jobcontrol/qt/job_control_tab.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace jc::test {
namespace {

class PrintDialogTabTest : public ::testing::Test {
 protected:
  PrintDialogTabTest() {
    env_.set("JOBCONTROL_MODULE", JC_MODULE_PATH)
        .set("XDG_CONFIG_HOME", dir_.path().string())
        .set("LANGUAGE", "en")
        .set("JOBCONTROL_BUNDLE_DIR", JC_BUILD_BUNDLE_DIR);
    printer_.setOutputFileName(QString::fromStdString((dir_.path() / "out.pdf").string()));
  }

  // The tab's page in the dialog's option tabs, or null.
  QWidget* jobControlPage() {
    for (QTabWidget* tabs : dialog_.findChildren<QTabWidget*>())
      for (int i = 0; i < tabs->count(); ++i)
        if (tabs->tabText(i) == "Job Control") return tabs->widget(i);
    return nullptr;
  }

  // The user opens the options and picks the Job Control tab.
  void openTab(QPrintDialog& dialog) {
    for (QTabWidget* tabs : dialog.findChildren<QTabWidget*>())
      for (int i = 0; i < tabs->count(); ++i)
        if (tabs->tabText(i) == "Job Control") qt::showOptionTab(dialog, *tabs->widget(i));
  }

  template <typename T>
  T* named(const char* name) {
    QWidget* page = jobControlPage();
    return page ? page->findChild<T*>(QLatin1String(name)) : nullptr;
  }

  ScopedEnv env_;
  TempDir dir_;
  QPrinter printer_;
  QPrintDialog dialog_{&printer_};
};

TEST_F(PrintDialogTabTest, TabShowsThePanelForTheDialogsPrinter) {
  qt::JobControlTab tab(dialog_);
  ASSERT_TRUE(tab.isValid()) << tab.errorString().toStdString();
  ASSERT_NE(jobControlPage(), nullptr);
  // The panel is made when the tab is first shown.
  EXPECT_EQ(named<QLineEdit>("printersAddressEditText"), nullptr);
  openTab(dialog_);
  // Without a CUPS queue chosen: the embedded default printer's address.
  auto* address = named<QLineEdit>("printersAddressEditText");
  ASSERT_NE(address, nullptr);
  EXPECT_EQ(address->text(), "localhost");
  EXPECT_NE(named<QCheckBox>("retentionCheckBox"), nullptr);
}

// The user holds the job with a locked pass code.
void holdWithLockedPassCode(QWidget& page) {
  auto* retention = page.findChild<QCheckBox*>("retentionCheckBox");
  auto* passCode = page.findChild<QLineEdit*>("suspendKeyEditText");
  auto* lock = page.findChild<QCheckBox*>("suspendKeyButton");
  ASSERT_TRUE(retention && passCode && lock);
  QTest::mouseClick(retention, Qt::LeftButton, {}, QPoint(8, retention->height() / 2));
  QTest::mouseClick(passCode, Qt::LeftButton);
  QTest::keyClicks(passCode, "1234");
  QTest::mouseClick(lock, Qt::LeftButton, {}, QPoint(8, lock->height() / 2));
  ASSERT_TRUE(lock->isChecked());
}

TEST_F(PrintDialogTabTest, CancelStoresNothingAndPrintSavesAndStoresTheLockedValues) {
  {
    qt::JobControlTab tab(dialog_);
    ASSERT_TRUE(tab.isValid());
    openTab(dialog_);
    holdWithLockedPassCode(*jobControlPage());
    dialog_.reject();
    EXPECT_TRUE(tab.entries().isEmpty());
  }
  // Cancelled: the next dialog knows nothing of the pass code.
  QPrintDialog dialog(&printer_);
  qt::JobControlTab tab(dialog);
  openTab(dialog);
  ASSERT_EQ(dialog.findChild<QLineEdit*>("suspendKeyEditText")->text(), "");
  EXPECT_FALSE(dialog.findChild<QCheckBox*>("suspendKeyButton")->isChecked());
  holdWithLockedPassCode(*dialog.findChild<QLineEdit*>("suspendKeyEditText")->window());
  dialog.accept();
  const auto entries = tab.entries();
  EXPECT_TRUE(entries.contains({"korvel.print.PrintSettings.holdButton", "1"}));
  EXPECT_TRUE(entries.contains({"korvel.print.PrintSettings.jobSuspend", "2"}));

  // The next dialog restores the locked pass code from the stored preferences.
  QPrintDialog next(&printer_);
  qt::JobControlTab nextTab(next);
  openTab(next);
  EXPECT_EQ(next.findChild<QLineEdit*>("suspendKeyEditText")->text(), "1234");
  EXPECT_TRUE(next.findChild<QCheckBox*>("suspendKeyButton")->isChecked());

  // Printing without ever showing the tab still sends the held entries.
  QPrintDialog unopened(&printer_);
  qt::JobControlTab unopenedTab(unopened);
  unopened.show();
  unopened.accept();
  EXPECT_TRUE(unopenedTab.entries().contains({"korvel.print.PrintSettings.holdButton", "1"}));
}

TEST(JobControlTabLoadTest, AMissingModuleLeavesTheDialogWithoutTheTab) {
  ScopedEnv env;
  env.set("JOBCONTROL_MODULE", "/nonexistent/jobcontrol-panel.so");
  QPrinter printer;
  QPrintDialog dialog(&printer);
  qt::JobControlTab tab(dialog);
  EXPECT_FALSE(tab.isValid());
  EXPECT_TRUE(tab.errorString().contains("cannot load the panel module"));
  for (QTabWidget* tabs : dialog.findChildren<QTabWidget*>())
    for (int i = 0; i < tabs->count(); ++i) EXPECT_NE(tabs->tabText(i), "Job Control");
}

}  // namespace
}  // namespace jc::test
