// One filing folder of the printer, as the folder-list answer gives it.
#pragma once

#include <string>
#include <vector>

namespace jc {

struct FolderEntry {
  std::u16string name;
  bool password = false;  // protected by a folder pass code
  bool dir = false;
  bool add = false;  // false for every entry read from the printer
  bool operator==(const FolderEntry&) const = default;
};

using FolderList = std::vector<FolderEntry>;

}  // namespace jc
