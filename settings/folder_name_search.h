// Which of the folder pop-up's items a stored folder name selects.
#pragma once

#include <optional>
#include <string>

#include "soap/folder_entry.h"

namespace jc {

// The pop-up index of the first folder whose name equals `name` without regard
// to case (3 or more), else 1, the main folder.
int searchSameFolderName(const std::optional<FolderList>& folders,
                         const std::optional<std::u16string>& name);
int searchSameFolderName(const FolderList* folders, const std::optional<std::u16string>& name);

}  // namespace jc
