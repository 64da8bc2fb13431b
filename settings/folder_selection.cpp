#include "settings/folder_selection.h"

namespace jc {

FolderSelection FolderSelection::ofPopUpItem(int index) {
  if (index == 0) return {FolderKind::QuickFile};
  if (index == 1) return {FolderKind::MainFolder};
  if (index >= kFolderPopUpFixedItems)
    return printerFolder(static_cast<std::size_t>(index - kFolderPopUpFixedItems));
  return {FolderKind::NoFolder};
}

FolderSelection FolderSelection::ofMatrixRow(int row) {
  switch (row) {
    case 0:
      return {FolderKind::QuickFile};
    case 1:
      return {FolderKind::MainFolder};
    case 2:
      return {FolderKind::CustomFolder};
    default:
      return {FolderKind::NoFolder};
  }
}

std::optional<int> FolderSelection::popUpItem() const {
  switch (kind) {
    case FolderKind::QuickFile:
      return 0;
    case FolderKind::MainFolder:
      return 1;
    case FolderKind::PrinterFolder:
      return static_cast<int>(folder) + kFolderPopUpFixedItems;
    default:
      return std::nullopt;
  }
}

std::optional<int> FolderSelection::matrixRow() const {
  switch (kind) {
    case FolderKind::QuickFile:
      return 0;
    case FolderKind::MainFolder:
      return 1;
    case FolderKind::CustomFolder:
      return 2;
    default:
      return std::nullopt;
  }
}

const FolderEntry* FolderSelection::entryIn(const FolderList* folders) const {
  if (kind != FolderKind::PrinterFolder || !folders || folder >= folders->size()) return nullptr;
  return &(*folders)[folder];
}

}  // namespace jc
