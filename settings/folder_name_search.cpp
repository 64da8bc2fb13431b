#include "settings/folder_name_search.h"

#include "platform/text.h"

namespace jc {

int searchSameFolderName(const std::optional<FolderList>& folders,
                         const std::optional<std::u16string>& name) {
  return searchSameFolderName(folders ? &*folders : nullptr, name);
}

int searchSameFolderName(const FolderList* folders, const std::optional<std::u16string>& name) {
  if (!name || !folders || folders->empty()) return 1;
  for (std::size_t i = 0; i < folders->size(); ++i)
    if (equalsIgnoringCase((*folders)[i].name, *name)) return static_cast<int>(i) + 3;
  return 1;
}

}  // namespace jc
