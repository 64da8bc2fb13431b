// One reading of a domain file, shared by everything that reads the domain
// while a dialog opens: the dictionary, with the folder list of its "Job
// Control" dictionary read straight into folder entries.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "prefs/plist_ptr.h"
#include "prefs/plist_xml_writer.h"
#include "soap/folder_entry.h"

namespace jc {

// How the folder list of a domain is read.
enum class StoredFolders {
  AsNodes,  // left in the dictionary as libplist nodes
  Read,     // read into folder entries, the dictionary holding a placeholder
  Skip,     // checked and dropped: the caller replaces it
};

class StoredDomain {
 public:
  StoredDomain() = default;
  // The domain as libplist reads `xml` (none when that is not a dictionary),
  // its folder list read as `folders` says. A list in the store's form is
  // read by the streaming reader; any other goes through libplist, so that
  // every document is found as good or as damaged as libplist finds it.
  static StoredDomain parse(std::string_view xml, StoredFolders folders);
  // A domain read as nodes elsewhere.
  static StoredDomain ofNodes(PlistPtr dictionary);

  explicit operator bool() const { return dictionary_ != nullptr; }
  plist_t dictionary() const { return dictionary_.get(); }
  PlistPtr takeDictionary() { return std::move(dictionary_); }

  // The entries of the "Job Control" dictionary's "files" array, without the
  // entries that have no name; an empty list when there is no such array,
  // none when there is no "Job Control" dictionary. Also none when skipped.
  const std::optional<FolderList>& folders() const { return folders_; }

  // Whether the list was skipped and its placeholder is still in `dictionary`.
  bool lostFolders(plist_t dictionary) const;
  // Lists in `streamed` the list that was read, to be written in place of
  // its placeholder, when `dictionary` (this domain after a change) still
  // holds the placeholder.
  void keepFolders(plist_t dictionary, StreamedValues& streamed) const;

 private:
  plist_t placeholderIn(plist_t dictionary) const;

  PlistPtr dictionary_;
  std::optional<FolderList> folders_;
  // The text of the string that stands for the list in the dictionary, when
  // the list was read or skipped by the streaming reader.
  std::string placeholder_;
  bool skipped_ = false;
};

// The folder entries of a "files" array held as libplist nodes.
FolderList foldersOfNodes(plist_t files);

// The list as the store writes it: an array of dictionaries.
StreamedValue folderListValue(const FolderList& list);

}  // namespace jc
