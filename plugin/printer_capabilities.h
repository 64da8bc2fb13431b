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
};

}  // namespace jc
