// The filing-folder pop-up: quick file, main folder, then the printer's folders.
#include "plugin/panel.h"
#include "settings/folder_name_search.h"

namespace jc {

void KorvelPrintPdeVx418JC::makeFolderPopup() {
  if (!folderSelectionPopup) return;
  const int selected = folderSelectionPopup->indexOfSelectedItem();
  rebuildFolderPopupItems();
  // The rebuild may move the selection (a removed folder falls back to another
  // item) or put another folder under it: the enable states follow, as if the
  // user had chosen it. Quick file and main folder, kept in place, change nothing.
  const int now = folderSelectionPopup->indexOfSelectedItem();
  if (now != selected || now >= 3) runFolderPopUpRules();
}

void KorvelPrintPdeVx418JC::rebuildFolderPopupItems() {
  // Only items 0 and 1 stay. They go from the last one back, which leaves the
  // same items and the same selection as taking item 2 away n - 2 times, but
  // costs one step per item instead of moving every later item each time.
  const int n = folderSelectionPopup->numberOfItems();
  for (int i = n - 1; i >= 2; --i) folderSelectionPopup->removeItemAtIndex(i);
  for (int i = 0; i < 2; ++i) {
    const MenuItem* item = folderSelectionPopup->itemAtIndex(i);
    if (!item) continue;
    if (auto title = localizedStringValue(std::optional<std::u16string>(item->title)))
      folderSelectionPopup->setItemTitle(i, *title);
    folderSelectionPopup->setItemImage(i, spaceImage);
  }
  if (!folderList || folderList->empty()) return;
  MenuItem separator;
  separator.separator = true;
  folderSelectionPopup->addItem(std::move(separator));
  for (const FolderEntry& entry : *folderList) {
    MenuItem item;
    item.title = entry.name;
    item.image =
        entry.password ? initWithSystemIconType(toolkit(), fourCharCode("lock")) : spaceImage;
    folderSelectionPopup->addItem(std::move(item));
  }
}

int KorvelPrintPdeVx418JC::SearchSameFolderName(const std::optional<std::u16string>& name) const {
  return searchSameFolderName(folderList, name);
}

}  // namespace jc
