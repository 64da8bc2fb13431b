#include "soap/folder_list_outcome.h"

#include <string>

#include "soap/folder_list_parser.h"

namespace jc {

namespace {

using Kind = FolderListOutcome::Kind;

// The printer's own words, kept short and printable for a message.
std::string inQuotes(std::string_view text) {
  constexpr std::size_t kLongest = 64;
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size() && i < kLongest; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    out += (c < 0x20 || c == 0x7F) ? '?' : static_cast<char>(c);
  }
  if (text.size() > kLongest) out += "...";
  return out + "\"";
}

FolderListOutcome make(Kind kind, Message wording) {
  FolderListOutcome outcome;
  outcome.kind = kind;
  outcome.message = wording.text();
  outcome.wording = std::move(wording);
  return outcome;
}

}  // namespace

FolderListOutcome folderListRead(std::size_t folders) {
  if (folders == 1) return make(Kind::Success, Message("The printer listed 1 folder."));
  return make(Kind::Success, Message("The printer listed {0} folders.", {std::to_string(folders)}));
}

FolderListOutcome unusableAddress() {
  return make(Kind::NoAnswer, Message("The printer address is not a usable http address."));
}

FolderListOutcome noAnswer(std::string_view reason) {
  return make(Kind::NoAnswer, Message("The printer did not answer: {0}.", {std::string(reason)}));
}

FolderListOutcome noAnswerWithin(std::chrono::milliseconds timeout) {
  const auto seconds = std::chrono::duration<double>(timeout).count();
  std::string text = std::to_string(seconds);
  text.erase(text.find_last_not_of('0') + 1);
  if (text.back() == '.') text.pop_back();
  return make(Kind::NoAnswer, Message("The printer did not answer within {0} seconds.", {text}));
}

FolderListOutcome answerNotKept() {
  return make(Kind::NoAnswer, Message("The printer's answer could not be stored."));
}

FolderListOutcome httpStatus(long status) {
  FolderListOutcome outcome =
      make(Kind::HttpStatus,
           Message("The printer answered with HTTP status {0}.", {std::to_string(status)}));
  outcome.httpStatus = status;
  return outcome;
}

FolderListOutcome redirectedElsewhere(long status) {
  FolderListOutcome outcome =
      make(Kind::HttpStatus,
           Message("The printer redirected the request to another address (HTTP status {0}).",
                   {std::to_string(status)}));
  outcome.httpStatus = status;
  return outcome;
}

FolderListOutcome answerTooLarge(std::size_t limit) {
  return make(Kind::NotAFolderList,
              Message("The printer's answer is larger than {0} MB: it is not a folder list.",
                      {std::to_string(limit / (1024 * 1024))}));
}

FolderListOutcome outcomeOfParse(const FolderListParse& parse) {
  if (!parse.documentRead)
    return make(Kind::NotAFolderList,
                Message("The printer's answer is not a readable XML document."));
  if (parse.resultCode && *parse.resultCode != "ok") {
    FolderListOutcome outcome =
        make(Kind::Refused, Message("The printer refused the request (result code {0}).",
                                    {inQuotes(*parse.resultCode)}));
    outcome.resultCode = *parse.resultCode;
    return outcome;
  }
  if (!parse.ok)
    return make(Kind::NotAFolderList, Message("The printer's answer is not a folder list."));
  return folderListRead(parse.folders.size());
}

}  // namespace jc
