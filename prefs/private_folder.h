// A folder only its owner can enter.
#pragma once

#include <filesystem>

namespace jc {

// Makes `folder` exist as a directory with mode 0700, creating every missing
// parent with mode 0700 too (parents that exist are left as they are). A
// folder we own that grants anything to group or others is narrowed to its
// owner's bits. Answers whether the folder is there and private.
bool ensurePrivateFolder(const std::filesystem::path& folder);

}  // namespace jc
