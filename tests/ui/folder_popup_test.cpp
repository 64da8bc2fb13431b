// The filing-folder pop-up built from the printer's folder list, and the
// search of a folder by name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text.h"
#include "support/case_names.h"
#include "support/panel_states.h"
#include "support/test_layouts.h"

namespace jc::test {
namespace {

const FolderList kThree = {{u"Projects", false, true}, {u"Payroll", true, true}, {u"Scans"}};

// Title, or "---" for a separator, and the picture: "lock", "space" or "none".
std::vector<std::string> itemsOf(const HeadlessControl& popUp, const ImagePtr& space) {
  std::vector<std::string> out;
  for (int i = 0; i < popUp.numberOfItems(); ++i) {
    const MenuItem& item = *popUp.itemAtIndex(i);
    if (item.separator) {
      out.push_back("---");
      continue;
    }
    std::string picture = "none";
    if (item.image && item.image == space)
      picture = "space";
    else if (item.image && *item.image == Image{fourCharCode("lock"), {}, 18, 18})
      picture = "lock";
    out.push_back(toUtf8(item.title) + " " + picture);
  }
  return out;
}

TEST(FolderPopUpTest, WithoutFoldersHasTheTwoFixedItems) {
  for (const auto& folders :
       {std::optional<FolderList>(), std::optional<FolderList>(FolderList{})}) {
    PanelFixture f;
    KorvelPrintPdeVx418JC& panel = openPanel(f, 2, folders);
    ASSERT_TRUE(panel.spaceImage);
    EXPECT_EQ(panel.spaceImage->file.filename(), "space.png");
    const std::vector<std::string> expected = {"Quick File space", "Main Folder space"};
    EXPECT_EQ(itemsOf(f.control("folderSelectionPopup"), panel.spaceImage), expected);
  }
}

TEST(FolderPopUpTest, ListsTheFoldersAfterASeparatorWithLocksOnProtectedOnes) {
  PanelFixture f;
  KorvelPrintPdeVx418JC& panel = openPanel(f, 2, kThree);
  HeadlessControl& popUp = f.control("folderSelectionPopup");
  const std::vector<std::string> expected = {
      "Quick File space", "Main Folder space", "---",
      "Projects space",   "Payroll lock",      "Scans space"};
  EXPECT_EQ(itemsOf(popUp, panel.spaceImage), expected);

  // Rebuilt from the same list: the same items, once; each lock its own image.
  const MenuItem* firstLock = popUp.itemAtIndex(4);
  const ImagePtr firstLockImage = firstLock->image;
  panel.makeFolderPopup();
  panel.makeFolderPopup();
  EXPECT_EQ(itemsOf(popUp, panel.spaceImage), expected);
  EXPECT_NE(popUp.itemAtIndex(4)->image, firstLockImage);

  // A shorter list afterwards leaves no trace of the longer one.
  panel.folderList = FolderList{{u"Archive", true}};
  panel.makeFolderPopup();
  EXPECT_EQ(
      itemsOf(popUp, panel.spaceImage),
      (std::vector<std::string>{"Quick File space", "Main Folder space", "---", "Archive lock"}));
  panel.folderList.reset();
  panel.makeFolderPopup();
  EXPECT_EQ(popUp.numberOfItems(), 2);
}

TEST(FolderPopUpTest, ALayoutsExtraItemsGoAtTheFirstBuild) {
  PanelFixture f;
  f.env.bundle =
      std::make_shared<OneLayoutBundle>(testBundle(), testDataPath("layouts/FiveTabs.ui"));
  KorvelPrintPdeVx418JC& panel = f.make();
  panel.folderList = FolderList{{u"Scans"}};
  panel.panelView();
  HeadlessControl& popUp = f.control("folderSelectionPopup");
  EXPECT_EQ(
      itemsOf(popUp, panel.spaceImage),
      (std::vector<std::string>{"Quick File space", "Main Folder space", "---", "Scans space"}));
  EXPECT_GE(popUp.indexOfSelectedItem(), 0);
  EXPECT_LT(popUp.indexOfSelectedItem(), popUp.numberOfItems());
}

TEST(FolderPopUpTest, ARebuildSelectsNothingAndRunsNoRule) {
  PanelFixture f;
  KorvelPrintPdeVx418JC& panel = openPanel(f, 2, kThree);
  HeadlessControl& popUp = f.control("folderSelectionPopup");
  ASSERT_TRUE(f.control("retentionCheckBox").userClick());
  ASSERT_TRUE(popUp.userSelectItem(1));
  ASSERT_TRUE(f.control("suspendKeyEditText").userType(u"9"));
  f.control("retentionCheckBox").setState(0);  // behind the rules' back
  panel.makeFolderPopup();
  EXPECT_EQ(popUp.indexOfSelectedItem(), 1);
  EXPECT_TRUE(popUp.isEnabled());
  EXPECT_TRUE(shownEnabled(f.control("suspendKeyEditText")));
  EXPECT_EQ(f.control("suspendKeyEditText").stringValue(), u"9");
}

struct RebuildCase {
  const char* what;
  int selected;                          // the user's item before the rebuild
  std::optional<FolderList> newFolders;  // the list the pop-up is rebuilt from
  int index;                             // the item selected afterwards
  bool passCodeEnabled;                  // the folder pass code's label, field and box
};

void PrintTo(const RebuildCase& c, std::ostream* os) { *os << c.what; }

class FolderPopUpRebuildTest : public ::testing::TestWithParam<RebuildCase> {};

TEST_P(FolderPopUpRebuildTest, EnabledStatesFollowTheSelectionLeftByTheRebuild) {
  const RebuildCase& c = GetParam();
  PanelFixture f;
  KorvelPrintPdeVx418JC& panel = openPanel(f, 2, kThree);
  ASSERT_TRUE(f.control("retentionCheckBox").userClick());
  ASSERT_TRUE(f.control("folderSelectionPopup").userSelectItem(c.selected));
  panel.folderList = c.newFolders;
  panel.makeFolderPopup();

  EXPECT_EQ(f.control("folderSelectionPopup").indexOfSelectedItem(), c.index);
  const std::vector<std::string> passCode = {"folderPasswordStaticText", "folderPasswordEditText",
                                             "folderPasswordButton"};
  EXPECT_EQ(shownEnabledOf(*f.view(), passCode),
            c.passCodeEnabled ? passCode : std::vector<std::string>{});
  EXPECT_EQ(shownEnabled(f.control("suspendKeyEditText")), c.index != 0);
}

INSTANTIATE_TEST_SUITE_P(
    Selections, FolderPopUpRebuildTest,
    ::testing::Values(
        RebuildCase{"protected folder, same list", 4, kThree, 1, false},
        RebuildCase{"protected folder, list gone", 4, std::nullopt, 1, false},
        RebuildCase{"protected folder, shorter list", 4, FolderList{{u"Archive", true}}, 1, false},
        RebuildCase{"open folder, a protected list", 3, FolderList{{u"Archive", true}}, 1, false},
        RebuildCase{"main folder", 1, kThree, 1, false},
        RebuildCase{"quick file", 0, FolderList{{u"Archive", true}}, 0, false}),
    NameFromWhat());

TEST(FolderPopUpTest, WithoutThePopUpNothingIsBuilt) {
  PanelFixture f;
  KorvelPrintPdeVx418JC& panel = openPanel(f, 3, kThree);
  EXPECT_FALSE(panel.folderSelectionPopup);
  panel.makeFolderPopup();
  EXPECT_EQ(panel.SearchSameFolderName(u"scans"), 5);
}

struct SearchCase {
  const char* what;
  std::optional<FolderList> folders;
  std::optional<std::u16string> name;
  int index;
};

void PrintTo(const SearchCase& c, std::ostream* os) { *os << c.what; }

class SearchSameFolderNameTest : public ::testing::TestWithParam<SearchCase> {};

TEST_P(SearchSameFolderNameTest, FindsTheFirstFolderOfThatNameInAnyCase) {
  const SearchCase& c = GetParam();
  EXPECT_EQ(searchSameFolderName(c.folders, c.name), c.index) << c.what;
  PanelFixture f;
  KorvelPrintPdeVx418JC& panel = f.make();
  panel.folderList = c.folders;
  EXPECT_EQ(panel.SearchSameFolderName(c.name), c.index) << c.what;
}

const FolderList kTwins = {{u"Inbox"}, {u"SCANS", true}, {u"scans"}, {u"\u00C4rchiv"}};

INSTANTIATE_TEST_SUITE_P(
    Names, SearchSameFolderNameTest,
    ::testing::Values(SearchCase{"exact", kThree, u"Projects", 3},
                      SearchCase{"other case", kThree, u"pAYROLL", 4},
                      SearchCase{"last", kThree, u"SCANS", 5},
                      SearchCase{"first of two equal up to case", kTwins, u"Scans", 4},
                      SearchCase{"non-ASCII letters fold", kTwins, u"\u00E4RCHIV", 6},
                      SearchCase{"no such name", kThree, u"Scan", 1},
                      SearchCase{"empty name", kThree, u"", 1},
                      SearchCase{"no name", kThree, std::nullopt, 1},
                      SearchCase{"empty list", FolderList{}, u"Scans", 1},
                      SearchCase{"no list", std::nullopt, u"Scans", 1}),
    NameFromWhat());

}  // namespace
}  // namespace jc::test
