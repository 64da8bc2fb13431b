// Replacing a file whole.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <string_view>
#include <system_error>

namespace jc {

// Replaces `file` with `contents`, given exactly `mode`: the bytes go to a new
// temporary file in the same folder, are flushed to disk and renamed over
// `file`, then the folder is flushed. A reader sees the old file or the new
// one, never a part; a crash leaves one of the two. Whatever stands at `file`
// (a symbolic link too) is replaced, not followed.
//
// The temporary file is unnamed (O_TMPFILE) where the file system allows it,
// so a writer killed while writing leaves nothing behind; it gets a hidden
// name ".<file>.tmp-<pid>-<random>" only for the instant before the rename.
// Where the file system refuses unnamed files the named one is used
// throughout. Either way each writer first removes the temporary files of the
// same target whose writer is gone: its process no longer exists, or the file
// is older than kStaleTemporaryAgeSeconds (a writer in another process namespace, or
// one that hangs).
//
// On failure the temporary file is removed and `file` is left as it was; the
// answer is then the reason, and empty when the new file is in place and on
// disk.
// Whether the new file is flushed to disk before the answer: a cache that
// can be fetched again needs only the rename's all-or-nothing.
enum class Durability { Flushed, Unflushed };

std::error_code replaceFileAtomically(const std::filesystem::path& file, std::string_view contents,
                                      mode_t mode, Durability durability = Durability::Flushed);

// Hands one piece of the new contents on; answers false when it could not be
// written.
using ContentsSink = std::function<bool(std::string_view piece)>;
// Produces the new contents piece by piece through the sink it is given;
// answers false to give up.
using ContentsProducer = std::function<bool(const ContentsSink& write)>;

// The same, with the contents written as `produce` makes them, so that they
// are never held whole. When `produce` gives up, `file` is left as it was and
// the answer is std::errc::operation_canceled (or why a piece could not be
// written).
std::error_code replaceFileAtomically(const std::filesystem::path& file,
                                      const ContentsProducer& produce, mode_t mode,
                                      Durability durability = Durability::Flushed);

// A temporary file of a writer that is still alive is older than this only
// when something is wrong with that writer.
inline constexpr int kStaleTemporaryAgeSeconds = 10 * 60;

// Flushes the entries of `folder` (a rename in it) to disk.
std::error_code syncFolder(const std::filesystem::path& folder);

}  // namespace jc
