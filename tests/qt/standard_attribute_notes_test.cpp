// The notes of the standard job attributes in the dialog's tab: one line
// under the panel, shown only when there is something to say.
#include <gtest/gtest.h>

#include <QAbstractButton>
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

struct NotesCase {
  const char* what;
  StandardAttributeMode mode;
  QString notes;
  const char* language = "C";
};
void PrintTo(const NotesCase& c, std::ostream* os) { *os << c.what; }

class StandardAttributeNotesTest : public testing::TestWithParam<NotesCase> {};

// The bundled sample printer is no CUPS queue: it takes nothing it could say.
TEST_P(StandardAttributeNotesTest, PrintShowsTheNotesUnderThePanel) {
  ScopedEnv language;
  language.set("LANGUAGE", GetParam().language);
  TempDir dir;
  QPrinter printer;
  printer.setOutputFileName(QString::fromStdString((dir.path() / "out.pdf").string()));
  QPrintDialog dialog(&printer);
  qt::PanelTabOptions options;
  options.modulePath = JC_MODULE_PATH;
  options.bundleFolder = buildBundleFolder();
  options.prefsFolder = dir.path() / "prefs";
  options.standardAttributes = GetParam().mode;
  qt::PanelTab tab(dialog, options);
  tab.ensurePanel();
  auto* account = qobject_cast<QLineEdit*>(tab.view()->control("accountNumberEditText")->widget());
  QTest::keyClicks(account, "777");
  tab.accept();

  auto* notes = tab.widget().findChild<QLabel*>("standardAttributeNotes");
  ASSERT_NE(notes, nullptr);
  EXPECT_EQ(notes->text(), GetParam().notes);
  EXPECT_EQ(notes->isVisibleTo(&tab.widget()), !GetParam().notes.isEmpty());
  EXPECT_TRUE(tab.standardAttributes().options.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Modes, StandardAttributeNotesTest,
    testing::Values(
        NotesCase{"auto", StandardAttributeMode::Auto, ""},
        NotesCase{"on", StandardAttributeMode::On,
                  "The printer takes no account number (job-account-id): it is not sent to it."},
        NotesCase{
            "japanese", StandardAttributeMode::On,
            "プリンターはアカウント番号 (job-account-id) を受け付けません。アカウント番号は送信"
            "しません。",
            "ja"}),
    [](const auto& info) { return std::string(info.param.what); });

}  // namespace
}  // namespace jc::test
