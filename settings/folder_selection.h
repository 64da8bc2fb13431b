// Which folder a job files into, as a value: the folder pop-up holds quick
// file, the main folder, a separator, then the printer's folders; the folder
// matrix holds quick file, the main folder and a custom folder.
#pragma once

#include <cstddef>
#include <optional>

#include "soap/folder_entry.h"

namespace jc {

enum class FolderKind {
  QuickFile,
  MainFolder,
  CustomFolder,   // the matrix's folder named in the folder name field
  PrinterFolder,  // one of the printer's folders, by its place in the list
  NoFolder,       // the pop-up's separator, or no item
};

struct FolderSelection {
  FolderKind kind = FolderKind::MainFolder;
  std::size_t folder = 0;  // the printer folder's index in the list
  bool operator==(const FolderSelection&) const = default;

  static FolderSelection ofPopUpItem(int index);
  static FolderSelection ofMatrixRow(int row);
  static FolderSelection printerFolder(std::size_t folder) {
    return {FolderKind::PrinterFolder, folder};
  }
  // The pop-up item or matrix row that shows it; none where that control has
  // no such item.
  std::optional<int> popUpItem() const;
  std::optional<int> matrixRow() const;
  // The printer folder it names in `folders`, or null.
  const FolderEntry* entryIn(const FolderList* folders) const;
};

// The pop-up's fixed items before the printer's folders.
inline constexpr int kFolderPopUpFixedItems = 3;

}  // namespace jc
