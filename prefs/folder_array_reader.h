// Reading a stored folder list straight from a domain file's text into folder
// entries, never as libplist nodes: a hundred thousand folders as nodes take
// about a hundred megabytes and most of a second.
//
// The reader takes only the form the store writes: an array of dictionaries
// each holding "name" (a string), then "password", "dir" and "add" (each
// <true/> or <false/>), with blank space (space, tab, line ends) between the
// elements, and no markup but these. Text may hold the entities "&amp;",
// "&lt;" and "&gt;" and no control character but tab and line ends. Anything
// else is refused, so that the caller reads the document with libplist
// instead: what libplist makes of an unusual or damaged file stays what the
// store makes of it.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "soap/folder_entry.h"

namespace jc {

enum class FolderArrayUse {
  Read,  // the entries are kept
  Skip,  // the array is only checked and stepped over
};

struct FolderArray {
  FolderList folders;   // empty when skipped
  std::size_t end = 0;  // just past the array's end tag (or "<array/>")
};

// The array whose start tag begins at `xml[at]`, or none when it is not in
// the store's form.
std::optional<FolderArray> readFolderArray(std::string_view xml, std::size_t at,
                                           FolderArrayUse use);

}  // namespace jc
