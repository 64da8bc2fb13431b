// The summary the print dialog lists for the panel.
#include <gtest/gtest.h>

#include "support/panel_fixture.h"
#include "support/recording_bundle.h"

namespace jc::test {
namespace {

using Pairs = SummaryInfo;

TEST(SummaryTest, IsEmptyBeforeTheControlsAreSetUp) {
  PanelFixture f;
  EXPECT_TRUE(f.make().summaryInfo().empty());
}

TEST(SummaryTest, RetentionOffGivesItsPairAndTheJobIdentity) {
  PanelFixture f;
  f.env.bundle = testBundle("ja");
  KorvelPrintPdeVx418JC& panel = f.open();
  f.control("jobNameEditText").setStringValue(u"Report");
  EXPECT_EQ(
      panel.summaryInfo(),
      (Pairs{{u"リテンション", u"オフ"}, {u"ユーザー名", u"Test User"}, {u"ジョブ名", u"Report"}}));
}

TEST(SummaryTest, RetentionOnAddsTheFolderAndTheHoldMode) {
  PanelFixture f;
  f.env.bundle = testBundle("ja");
  KorvelPrintPdeVx418JC& panel = f.open();
  ASSERT_TRUE(f.control("retentionCheckBox").userClick());
  const MenuItem* folder = panel.folderSelectionPopup.selectedItem();
  ASSERT_NE(folder, nullptr);
  EXPECT_EQ(panel.summaryInfo(), (Pairs{{u"リテンション", u"オン"},
                                        {u"フォルダー", folder->title},
                                        {u"ホールドモード", u"ホールドのみ"},
                                        {u"ユーザー名", u"Test User"},
                                        {u"ジョブ名", u""}}));
}

TEST(SummaryTest, RetentionOnWithNeitherFolderPopUpNorHoldModes) {
  PanelFixture f;
  auto bundle = std::make_shared<RecordingBundle>(testBundle("ja"));
  bundle->layoutOverrides["JobControl2"] = testDataPath("layouts/RetentionWithoutChoices.ui");
  f.env.bundle = bundle;
  KorvelPrintPdeVx418JC& panel = f.open();
  ASSERT_EQ(panel.suspendMatrix.get(), nullptr);
  ASSERT_EQ(panel.folderSelectionPopup.get(), nullptr);
  ASSERT_TRUE(f.control("retentionCheckBox").userClick());
  EXPECT_EQ(panel.summaryInfo(),
            (Pairs{{u"リテンション", u"オン"}, {u"ユーザー名", u"Test User"}, {u"ジョブ名", u""}}));
}

TEST(SummaryTest, LabelsLoseTheirColonsAtBothEndsOnly) {
  PanelFixture f;
  KorvelPrintPdeVx418JC& panel = f.open();
  f.control("userNameStaticText").setStringValue(u"::User Name::");
  f.control("jobNameStaticText").setStringValue(u"Job:Name:");
  f.control("jobNameEditText").setStringValue(u"Report");
  EXPECT_EQ(
      panel.summaryInfo(),
      (Pairs{{u"Retention", u"Off"}, {u"User Name", u"Test User"}, {u"Job:Name", u"Report"}}));

  // The same label twice: the later value replaces the earlier one.
  f.control("userNameStaticText").setStringValue(u"Name:");
  f.control("jobNameStaticText").setStringValue(u":Name");
  EXPECT_EQ(panel.summaryInfo(), (Pairs{{u"Retention", u"Off"}, {u"Name", u"Report"}}));
}

}  // namespace
}  // namespace jc::test
