// What one folder-list request came to, told in plain words.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/message.h"

namespace jc {

struct FolderListParse;

struct FolderListOutcome {
  enum class Kind {
    Success,         // a folder list was read (possibly empty)
    NoAnswer,        // no usable address, no connection, time-out, answer not kept
    HttpStatus,      // the final HTTP status was outside 200-299
    Refused,         // the printer's result code was not "ok"
    NotAFolderList,  // unreadable, undecodable, too large, or without a folder list
  };
  Kind kind = Kind::Success;
  long httpStatus = 0;     // HttpStatus: the status; otherwise 0
  std::string resultCode;  // Refused: the printer's result code
  std::string message;     // one plain sentence, naming the status or result code
  Message wording;         // the same sentence with its values apart, for a host to translate
  bool operator==(const FolderListOutcome&) const = default;
};

FolderListOutcome folderListRead(std::size_t folders);
FolderListOutcome unusableAddress();
// `reason` is the HTTP client's own description of the failure.
FolderListOutcome noAnswer(std::string_view reason);
FolderListOutcome noAnswerWithin(std::chrono::milliseconds timeout);
FolderListOutcome answerNotKept();
FolderListOutcome httpStatus(long status);
FolderListOutcome redirectedElsewhere(long status);
FolderListOutcome answerTooLarge(std::size_t limit);
// The verdict of a parse of a delivered answer.
FolderListOutcome outcomeOfParse(const FolderListParse& parse);

}  // namespace jc
