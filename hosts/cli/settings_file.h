// The job's print settings as a JSON object of strings.
#pragma once

#include <filesystem>

#include "plugin/host.h"

namespace jc::cli {

// Reads every entry of the file into `settings`; a missing file reads as no
// entries. Throws UsageError when the file is not a regular file of at most
// 1 MiB holding a JSON object of strings.
void readSettingsFile(const std::filesystem::path& file, PrintSettings& settings);
// Writes every entry, whole (replaceFileAtomically), readable by its owner only.
// Throws std::runtime_error when it cannot be written.
void writeSettingsFile(const std::filesystem::path& file, const PrintSettings& settings);

}  // namespace jc::cli
