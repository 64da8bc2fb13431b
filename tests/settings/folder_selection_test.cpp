// The folder pop-up's items and the folder matrix's rows as values, both ways,
// and the printer folder a value names in a list.
#include "settings/folder_selection.h"

#include <gtest/gtest.h>

#include "settings/folder_name_search.h"

namespace jc {
namespace {

TEST(FolderSelectionTest, ItemsAndRowsConvertBothWays) {
  struct Case {
    int index;
    FolderSelection popUp;
    std::optional<int> popUpBack;
    FolderSelection matrix;
    std::optional<int> matrixBack;
  };
  const Case cases[] = {
      {0, {FolderKind::QuickFile}, 0, {FolderKind::QuickFile}, 0},
      {1, {FolderKind::MainFolder}, 1, {FolderKind::MainFolder}, 1},
      {2, {FolderKind::NoFolder}, std::nullopt, {FolderKind::CustomFolder}, 2},
      {3, FolderSelection::printerFolder(0), 3, {FolderKind::NoFolder}, std::nullopt},
      {7, FolderSelection::printerFolder(4), 7, {FolderKind::NoFolder}, std::nullopt},
      {-1, {FolderKind::NoFolder}, std::nullopt, {FolderKind::NoFolder}, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FolderSelection::ofPopUpItem(c.index), c.popUp) << c.index;
    EXPECT_EQ(c.popUp.popUpItem(), c.popUpBack) << c.index;
    EXPECT_EQ(FolderSelection::ofMatrixRow(c.index), c.matrix) << c.index;
    EXPECT_EQ(c.matrix.matrixRow(), c.matrixBack) << c.index;
  }
}

TEST(FolderSelectionTest, NamesAPrinterFolderOnlyWithinTheList) {
  const FolderList folders = {{u"Scans"}, {u"Archiv", true}};
  EXPECT_EQ(FolderSelection::printerFolder(1).entryIn(&folders), &folders[1]);
  EXPECT_EQ(FolderSelection::printerFolder(2).entryIn(&folders), nullptr);
  EXPECT_EQ(FolderSelection::printerFolder(0).entryIn(nullptr), nullptr);
  EXPECT_EQ(FolderSelection{FolderKind::MainFolder}.entryIn(&folders), nullptr);
  // A stored name finds its folder's item, whatever its case; else the main folder.
  EXPECT_EQ(searchSameFolderName(&folders, u"archiv"), 4);
  EXPECT_EQ(searchSameFolderName(&folders, u"Gone"), 1);
}

}  // namespace
}  // namespace jc
