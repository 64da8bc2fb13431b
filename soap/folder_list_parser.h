// Reads the printer's folder-list answer.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "soap/folder_entry.h"

typedef struct _xmlNode xmlNode;  // libxml2's tree node

namespace jc {

struct FolderListParse {
  // False when the document could not be read or parsed: the list stays as it was.
  bool documentRead = false;
  // The answer's verdict: true when a folder list was read (possibly empty).
  bool ok = false;
  // The new list (empty on every failure after the document was read).
  FolderList folders;
  // The text of the response's last "result-code", when it has one.
  std::optional<std::string> resultCode;
};

// Parses an answer held in memory. No network access, no entity expansion,
// whitespace-only text dropped; names are compared as qualified names.
FolderListParse parseFolderListAnswer(std::string_view xml);
// The same for the response file; a missing or unreadable file is not read.
FolderListParse parseFolderListFile(const std::filesystem::path& file);

// The node's last child in the parsed tree, or null when it has none (or when
// `node` is null). Only elements and documents own children: an entity
// reference's replacement text is not a child of the reference.
xmlNode* MyGetChild(xmlNode* node);

}  // namespace jc
