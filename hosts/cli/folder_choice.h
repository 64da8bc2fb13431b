// Which folder `--folder NAME` means, among the folder pop-up's items.
#pragma once

#include <string>
#include <vector>

namespace jc::cli {

// The pop-up's items as the user sees them: the titles, the separator as none.
struct FolderItem {
  int index = 0;  // the item's position in the pop-up
  std::u16string title;
};

struct FolderChoice {
  enum Kind { PopUpItem, Quick, Main, Custom, NotFound, Ambiguous } kind = NotFound;
  int index = -1;                   // the pop-up item, for PopUpItem
  std::vector<FolderItem> matches;  // the candidates, for Ambiguous
};

// In this order: the one printer folder named exactly `name`; the one whose name
// matches ignoring case; the words quick, main and custom. Two printer folders
// of one name leave the choice ambiguous unless a word names it.
FolderChoice chooseFolder(const std::vector<FolderItem>& printerFolders,
                          const std::u16string& name);

}  // namespace jc::cli
