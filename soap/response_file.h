// The file that carries the printer's answer from the SOAP client to the parser.
#pragma once

#include <filesystem>
#include <string_view>

namespace jc {

// Whether `folder` is a directory (not a link to one) of this user's with
// mode 0700: nobody else can put, swap or read a file in it.
bool isPrivateFolder(const std::filesystem::path& folder);

// Replaces `file` whole with `bytes` (replaceFileAtomically), readable by its
// owner only, when the folder that holds it is private. False when the folder
// is not or any step failed; the old file is then left as it was.
bool writeResponseFile(const std::filesystem::path& file, std::string_view bytes);

}  // namespace jc
