#include "hosts/cli/folder_choice.h"

#include "platform/text.h"

namespace jc::cli {
namespace {

template <typename Match>
std::vector<FolderItem> matching(const std::vector<FolderItem>& folders, Match match) {
  std::vector<FolderItem> found;
  for (const FolderItem& folder : folders)
    if (match(folder.title)) found.push_back(folder);
  return found;
}

FolderChoice choice(FolderChoice::Kind kind, int index = -1, std::vector<FolderItem> matches = {}) {
  return {kind, index, std::move(matches)};
}

FolderChoice keyword(const std::u16string& name) {
  if (name == u"quick") return choice(FolderChoice::Quick);
  if (name == u"main") return choice(FolderChoice::Main);
  if (name == u"custom") return choice(FolderChoice::Custom);
  return choice(FolderChoice::NotFound);
}

}  // namespace

FolderChoice chooseFolder(const std::vector<FolderItem>& printerFolders,
                          const std::u16string& name) {
  auto exact = matching(printerFolders, [&](const std::u16string& t) { return t == name; });
  if (exact.size() == 1) return choice(FolderChoice::PopUpItem, exact.front().index);
  if (exact.empty()) {
    exact = matching(printerFolders,
                     [&](const std::u16string& t) { return equalsIgnoringCase(t, name); });
    if (exact.size() == 1) return choice(FolderChoice::PopUpItem, exact.front().index);
  }
  FolderChoice word = keyword(name);
  if (word.kind != FolderChoice::NotFound || exact.empty()) return word;
  return choice(FolderChoice::Ambiguous, -1, std::move(exact));
}

}  // namespace jc::cli
