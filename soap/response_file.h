// The file that carries the printer's answer from the SOAP client to the parser.
#pragma once

#include <filesystem>
#include <string_view>

namespace jc {

// Replaces `file` whole with `bytes`: a private temporary file in the same
// folder is written, flushed to disk and renamed over it, so a reader never
// sees half an answer and a link planted at `file` is replaced, not followed.
// The file is readable by its owner only. False when any step failed; the old
// file is then left as it was.
bool writeResponseFile(const std::filesystem::path& file, std::string_view bytes);

}  // namespace jc
