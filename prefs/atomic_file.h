// Replacing a file whole.
#pragma once

#include <filesystem>
#include <string_view>

namespace jc {

// Replaces `file` with `contents`, mode 0600: the bytes go to a new temporary
// file beside it, are flushed to disk and renamed over `file`, then the
// folder is flushed. A reader sees the old file or the new one, never a part;
// a crash leaves one of the two. Whatever stands at `file` (a symbolic link
// too) is replaced, not followed. On failure the temporary file is removed and
// `file` is left as it was; answers whether the new file is in place and on
// disk.
bool replaceFileAtomically(const std::filesystem::path& file, std::string_view contents);

// Flushes the entries of `folder` (a rename in it) to disk.
bool syncFolder(const std::filesystem::path& folder);

}  // namespace jc
