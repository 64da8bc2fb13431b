// The lines the tab adds to the panel: the standard-attribute notes as the
// user changes the values they come from, and the Filing group's note on a
// printer without storage.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QTest>

#include "hosts/qt/panel_tab.h"
#include "support/panel_fixture.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace jc::test {
namespace {

class PanelTabNotesTest : public ::testing::Test {
 protected:
  explicit PanelTabNotesTest(const char* language = "C") {
    language_.set("LANGUAGE", language);
    printer_.setOutputFileName(QString::fromStdString((dir_.path() / "out.pdf").string()));
    qt::PanelTabOptions options;
    options.modulePath = JC_MODULE_PATH;
    options.bundleFolder = buildBundleFolder();
    options.prefsFolder = dir_.path() / "prefs";
    options.standardAttributes = StandardAttributeMode::On;
    tab_ = std::make_unique<qt::PanelTab>(dialog_, options);
    tab_->ensurePanel();
  }

  template <typename T>
  T* control(const char* name) {
    return qobject_cast<T*>(tab_->view()->control(name)->widget());
  }
  QString notes() { return tab_->widget().findChild<QLabel*>("standardAttributeNotes")->text(); }

  ScopedEnv language_;
  TempDir dir_;
  QPrinter printer_;
  QPrintDialog dialog_{&printer_};
  std::unique_ptr<qt::PanelTab> tab_;
};

TEST_F(PanelTabNotesTest, NotesFollowEachChangeBeforePrint) {
  const QString before = notes();
  QTest::keyClicks(control<QLineEdit>("accountNumberEditText"), "777");
  EXPECT_EQ(notes(), "The printer takes no account number (job-account-id): it is not sent to it.");
  control<QLineEdit>("accountNumberEditText")->clear();
  EXPECT_EQ(notes(), before);
}

TEST_F(PanelTabNotesTest, FilingGroupSaysThePrinterFilesNothing) {
  auto* note = tab_->widget().findChild<QLabel*>("filingNote");
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(note->text(), "This printer keeps no filed jobs: the job is not filed into a folder.");
  EXPECT_EQ(note->parentWidget(), tab_->view()->control("filingBox")->widget());
  EXPECT_EQ(control<QCheckBox>("suspendKeyButton")->toolTip(),
            "Locked: this value is kept for the next jobs on this printer. Unlocked: it is used "
            "for this job only.");
}

class JapanesePanelTabNotesTest : public PanelTabNotesTest {
 protected:
  JapanesePanelTabNotesTest() : PanelTabNotesTest("ja") {}
};

TEST_F(JapanesePanelTabNotesTest, TheTabsOwnLinesAreJapanese) {
  EXPECT_EQ(tab_->widget().findChild<QLabel*>("filingNote")->text(),
            "このプリンターには保存領域がないため、フォルダーに保存されません。");
  EXPECT_EQ(control<QCheckBox>("userNameButton")->toolTip(),
            "鍵をかけると、この値をこのプリンターの次のジョブにも使います。鍵を外すと、このジョブだ"
            "けに使います。");
}

}  // namespace
}  // namespace jc::test
