// The dialog's tab with real CUPS queues: it follows the printer the user
// picks, a test page painted through Qt's CUPS engine and files sent with the
// dialog's choices both reach the scheduler with the panel's entries, and
// Cancel makes no job. Skipped where no scheduler runs.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintEngine>
#include <QPrinter>
#include <QTest>

#include "hosts/qt/panel_tab.h"
#include "hosts/qt/printer_job_options.h"
#include "hosts/qt/test_page.h"
#include "jobcontrol/qt/job_control_tab.h"
#include "support/cups_queue.h"
#include "support/file_text.h"
#include "support/panel_fixture.h"
#include "support/process_runner.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace jc::test {
namespace {

class QtCupsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!schedulerRuns()) GTEST_SKIP() << "no CUPS scheduler runs here";
    if (access("/usr/sbin/lpadmin", X_OK) != 0) GTEST_SKIP() << "no lpadmin";
    if (!office_.ok() || !lab_.ok()) GTEST_SKIP() << "cannot add CUPS queues here";
    printer_.setPrinterName(QString::fromStdString(office_.name()));
    dialog_ = std::make_unique<QPrintDialog>(&printer_);
    qt::PanelTabOptions options;
    options.modulePath = JC_MODULE_PATH;
    options.bundleFolder = buildBundleFolder();
    options.prefsFolder = dir_.path() / "prefs";
    options.jobName = "Report";
    tab_ = std::make_unique<qt::PanelTab>(*dialog_, options);
    tab_->ensurePanel();
  }

  QString field(const char* name) const {
    return tab_->view()->control(name)
               ? qobject_cast<QLineEdit*>(tab_->view()->control(name)->widget())->text()
               : QString();
  }

  void pick(const CupsQueue& queue) {
    QComboBox* chooser = qt::printerChooserOf(*dialog_);
    ASSERT_NE(chooser, nullptr);
    const int index = chooser->findText(QString::fromStdString(queue.name()));
    ASSERT_GE(index, 0) << queue.name();
    chooser->setCurrentIndex(index);
  }

  // The user types a user name and locks it, then prints.
  PrintSettings printWithLockedUserName(const QString& name) {
    auto* user = qobject_cast<QLineEdit*>(tab_->view()->control("userNameEditText")->widget());
    user->selectAll();
    QTest::keyClicks(user, name);
    auto* lock = qobject_cast<QCheckBox*>(tab_->view()->control("userNameButton")->widget());
    QTest::mouseClick(lock, Qt::LeftButton, {}, QPoint(8, lock->height() / 2));
    const PrintSettings entries = tab_->accept();
    qt::addEntriesTo(printer_, entries);
    return entries;
  }

  TempDir dir_;
  CupsQueue office_{"_office", "socket://127.0.0.1:9"};
  CupsQueue lab_{"_lab", "socket://192.0.2.9:9100"};
  QPrinter printer_;
  std::unique_ptr<QPrintDialog> dialog_;
  std::unique_ptr<qt::PanelTab> tab_;
};

TEST_F(QtCupsTest, TabFollowsThePrinterPickedWithItsAddressAndHeldValues) {
  EXPECT_EQ(tab_->printer()->id, office_.name());
  EXPECT_EQ(field("printersAddressEditText"), "127.0.0.1");
  printWithLockedUserName("Ada");  // the office queue now holds "Ada"

  pick(lab_);
  EXPECT_EQ(tab_->printer()->id, lab_.name());
  EXPECT_EQ(field("printersAddressEditText"), "192.0.2.9");
  EXPECT_NE(field("userNameEditText"), "Ada");
  pick(office_);
  EXPECT_EQ(field("printersAddressEditText"), "127.0.0.1");
  EXPECT_EQ(field("userNameEditText"), "Ada");
}

TEST_F(QtCupsTest, DialogOpensOnTheNamedQueueAndOffersTheDocumentsPdf) {
  // The queue the dialog lists after the other, so that opening on the first
  // one does not pass for opening on the named one.
  QComboBox* chooser = qt::printerChooserOf(*dialog_);
  ASSERT_NE(chooser, nullptr);
  const std::string named = chooser->findText(QString::fromStdString(office_.name())) >
                                    chooser->findText(QString::fromStdString(lab_.name()))
                                ? office_.name()
                                : lab_.name();
  QPrinter printer;
  qt::prepareForDialog(printer, "Report", named);
  QPrintDialog dialog(&printer);
  EXPECT_EQ(qt::printerChooserOf(dialog)->currentText().toStdString(), named);
  EXPECT_EQ(printer.outputFileName(), QDir::home().filePath("Report.pdf"));
  EXPECT_EQ(printer.docName(), "Report");
}

TEST_F(QtCupsTest, TestPageThroughQtsEngineCarriesTheEntries) {
  const PrintSettings entries = printWithLockedUserName("Ada");
  ASSERT_TRUE(qt::paintTestPage(printer_, entries));
  const auto job = qt::newestJobOf(office_.name());
  ASSERT_TRUE(job);
  EXPECT_EQ(jobAttribute(*job, "korvel.print.PrintSettings.userName"), "416461");
  EXPECT_EQ(jobAttribute(*job, "korvel.print.PrintSettings.holdButton"),
            *entries.value("korvel.print.PrintSettings.holdButton"));
  // Named as the panel names the job.
  EXPECT_EQ(jobAttribute(*job, "job-name"), "Report");
}

// On a queue that holds its jobs for Job Control, a job that carries the
// entries goes on at once, unless the user chose a hold on Qt's job page
// (which keeps it among the engine's CUPS options, property 0xfe00).
TEST_F(QtCupsTest, AJobWithTheEntriesIsHeldOnlyWhenTheUserChoseAHold) {
  ASSERT_EQ(runProcess({"/usr/sbin/lpadmin", "-p", office_.name(), "-o",
                        "job-hold-until-default=indefinite"})
                .exitStatus,
            0);
  const PrintSettings entries = tab_->accept();
  const struct {
    QStringList chosenOnTheJobPage;
    const char* holdUntil;
    const char* state;
  } cases[] = {
      {{}, "no-hold", "pending"},
      {{"job-hold-until", "indefinite"}, "indefinite", "pending-held"},
      {{"job-hold-until", "night"}, "night", "pending-held"},
  };
  for (const auto& c : cases) {
    QPrinter printer;
    printer.setPrinterName(QString::fromStdString(office_.name()));
    printer.printEngine()->setProperty(QPrintEngine::PrintEnginePropertyKey(0xfe00),
                                       c.chosenOnTheJobPage);
    qt::addEntriesTo(printer, entries);
    ASSERT_TRUE(qt::paintTestPage(printer, entries));
    const auto job = qt::newestJobOf(office_.name());
    ASSERT_TRUE(job);
    EXPECT_EQ(jobAttribute(*job, "job-hold-until"), c.holdUntil);
    EXPECT_EQ(jobAttribute(*job, "job-state"), c.state) << c.holdUntil;
    EXPECT_EQ(jobAttribute(*job, "korvel.print.PrintSettings.holdButton"),
              *entries.value("korvel.print.PrintSettings.holdButton"));
  }
}

// A queue of no family and not driverless: one line in place of the panel,
// and its jobs carry no entries.
TEST_F(QtCupsTest, AGenericQueueShowsTheNoteInPlaceOfThePanel) {
  CupsQueue generic("_generic", "socket://127.0.0.1:9",
                    (std::filesystem::path(JC_TEST_DATA_DIR) / "ppd" / "generic.ppd").string());
  ASSERT_TRUE(generic.ok());
  // Added after the dialog listed its printers: shown as the chooser would.
  tab_->showPrinter(QString::fromStdString(generic.name()));
  EXPECT_EQ(tab_->printer()->id, generic.name());
  EXPECT_EQ(tab_->view(), nullptr);
  auto* note = tab_->widget().findChild<QLabel*>("tabMessage");
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(note->text(), "This printer does not take Job Control.");
  EXPECT_EQ(tab_->accept().count(), 0);
  // Back on the family's queue, the panel.
  tab_->showPrinter(QString::fromStdString(office_.name()));
  EXPECT_EQ(field("printersAddressEditText"), "127.0.0.1");
  EXPECT_EQ(tab_->widget().findChild<QLabel*>("tabMessage"), nullptr);
}

TEST_F(QtCupsTest, FilesGoWithTheDialogsChoicesAndTheEntries) {
  printer_.setCopyCount(2);
  const PrintSettings entries = printWithLockedUserName("Ada");
  PrintSettings options = qt::jobOptionsOf(printer_);
  for (int i = 0; i < entries.count(); ++i)
    options.setValue(entries.options()[i].name, entries.options()[i].value);
  const std::filesystem::path document = dir_.path() / "document.txt";
  writeFile(document, "hello\n");
  const int job = sendJob(office_.name(), document.string(), "Report", options);
  EXPECT_EQ(jobAttribute(job, "copies"), "2");
  EXPECT_EQ(jobAttribute(job, "korvel.print.PrintSettings.userName"), "416461");
}

TEST_F(QtCupsTest, CancelMakesNoJob) {
  const int before = office_.pendingJobs();
  dialog_->show();
  dialog_->reject();
  QApplication::processEvents();
  EXPECT_EQ(office_.pendingJobs(), before);
  EXPECT_EQ(qt::jobOptionsOf(printer_).value("korvel.print.PrintSettings.holdButton"),
            std::nullopt);
}

// An application as examples/print_page is: the library adds the tab, the
// dialog is accepted, and the page the application paints carries the entries.
TEST_F(QtCupsTest, AnApplicationsOwnPageCarriesTheEntries) {
  ScopedEnv env;
  env.set("JOBCONTROL_MODULE", JC_MODULE_PATH).set("XDG_CONFIG_HOME", dir_.path().string());
  QPrinter printer;
  printer.setPrinterName(QString::fromStdString(office_.name()));
  QPrintDialog dialog(&printer);
  jc::qt::JobControlTab tab(dialog);
  ASSERT_TRUE(tab.isValid()) << tab.errorString().toStdString();
  dialog.show();
  dialog.accept();
  ASSERT_FALSE(tab.entries().isEmpty());

  QPainter painter;
  ASSERT_TRUE(painter.begin(&printer));
  painter.drawText(painter.viewport(), Qt::AlignCenter, QStringLiteral("Quarterly report"));
  ASSERT_TRUE(painter.end());
  const auto job = qt::newestJobOf(office_.name());
  ASSERT_TRUE(job);
  for (const auto& [key, value] : tab.entries())
    EXPECT_EQ(jobAttribute(*job, key.toStdString().c_str()), value.toStdString())
        << key.toStdString();
}

}  // namespace
}  // namespace jc::test
