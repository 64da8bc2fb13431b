// What a printer says it takes of the standard job attributes for held and
// accounted jobs: the PIN (job-password) and the accounting identifiers. The
// host reads it from the print system; the module maps the panel's values
// onto it.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace jc {

struct PasswordLengthRange {
  int lower = 0;
  int upper = 0;
};

// Why the printer's own word on what it takes is not at hand: it could not be
// asked, or its answer was set aside before anything in it was read.
enum class UnansweredReason {
  NoConnection,    // values: the printer's host (and port)
  NoTimelyAnswer,  // the host, the seconds waited
  HttpStatus,      // the host, the HTTP status (a redirect or an authentication request too)
  IppStatus,       // the host, the IPP status keyword
  AnswerTooLarge,  // the host, the bytes read at most
  NestedTooDeep,   // the host, the collection levels read at most
  NotAnIppAnswer,  // the host
  NotAskable,      // the scheme of the address it is reached at ("dnssd", "ippusb", ...)
};

struct Unanswered {
  UnansweredReason reason = UnansweredReason::NoConnection;
  // The values of the reason's note, in order; never a user part of an
  // address or anything else secret.
  std::vector<std::string> values;
  bool operator==(const Unanswered&) const = default;
};

struct PrinterCapabilities {
  // A queue whose description CUPS made from the printer's own IPP answers
  // (no driver of this family behind it).
  bool driverless = false;
  // Where the job finally goes ("ipps://printer.local/ipp/print"); none when
  // unknown. The PIN travels encrypted only to an ipps:// address.
  std::optional<std::string> printerURI;
  // job-password-supported: the longest PIN the printer takes; none (or 0)
  // when it takes none.
  std::optional<int> passwordMaxLength;
  // job-password-length-supported, when the printer names a range.
  std::optional<PasswordLengthRange> passwordLength;
  // job-password-repertoire-supported ("iana_us-ascii_digits", ...); empty
  // when the printer names none.
  std::vector<std::string> passwordRepertoires;
  // job-password-encryption-supported ("none", "sha2-256", ...); empty when
  // the printer names none.
  std::vector<std::string> passwordEncryptions;
  bool accountId = false;         // job-account-id-supported
  bool accountingUserId = false;  // job-accounting-user-id-supported
  // Set when the printer was not asked successfully: it gets no PIN, whatever
  // the other members say (the print system's own answers about accounting
  // may stand in).
  std::optional<Unanswered> unanswered;
  // The job-password attributes that the printer answered with a value of
  // the wrong type; it gets no PIN while any is listed.
  std::vector<std::string> wrongTypes;
};

}  // namespace jc
