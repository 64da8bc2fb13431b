#include "settings/standard_attributes.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace jc {
namespace {

// As much of a code as the print-settings writer sends. The codes are digits,
// one byte each in every system encoding, so the byte limit counts too.
std::optional<std::string> nonEmpty(const Present<std::u16string>& text, CodeLimit limit) {
  if (!text || text->empty()) return std::nullopt;
  return toUtf8(std::u16string_view(*text).substr(0, std::min(limit.chars, limit.bytes)));
}

bool contains(const std::vector<std::string>& list, std::string_view word) {
  return std::find(list.begin(), list.end(), word) != list.end();
}

// The pass code the writer sends: only with retention on, a hold mode chosen
// and a code typed (the panel clears the code when the writer sent none).
std::optional<std::string> passCodeSent(const JobControlSettings& s) {
  if (!s.retention.value_or(false) || !s.suspendRow) return std::nullopt;
  if (*s.suspendRow < 0 || *s.suspendRow > 2) return std::nullopt;
  return nonEmpty(s.suspendKey, kPassCodeLimit);
}

bool allOf(std::string_view code, bool (*accepts)(unsigned char)) {
  return std::all_of(code.begin(), code.end(), [accepts](char c) { return accepts(c); });
}
bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool isLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isPrintableAscii(unsigned char c) { return c >= 0x20 && c <= 0x7E; }
bool isAnything(unsigned char) { return true; }

// Whether one repertoire keyword of PWG 5100.11 admits every character of
// `code`; a keyword this code does not know admits nothing.
bool repertoireAdmits(std::string_view repertoire, std::string_view code) {
  if (repertoire == "iana_us-ascii_digits" || repertoire == "iana_utf-8_digits")
    return allOf(code, isDigit);
  if (repertoire == "iana_us-ascii_letters" || repertoire == "iana_utf-8_letters")
    return allOf(code, isLetter);
  if (repertoire == "iana_us-ascii_complex" || repertoire == "iana_us-ascii_any")
    return allOf(code, isPrintableAscii);
  if (repertoire == "iana_utf-8_any") return allOf(code, isAnything);
  return false;
}

// Why the printer's answer about its PIN is not at hand. Only the printer
// itself can say which PIN it takes, so without its answer none is sent.
Message unansweredNote(const Unanswered& why) {
  switch (why.reason) {
    case UnansweredReason::NoConnection:
      return Message(
          "The printer could not be asked which PIN it takes (no connection to {0}): the pass "
          "code is not sent to it.",
          why.values);
    case UnansweredReason::NoTimelyAnswer:
      return Message(
          "The printer could not be asked which PIN it takes ({0} gave no whole answer within "
          "{1} seconds): the pass code is not sent to it.",
          why.values);
    case UnansweredReason::HttpStatus:
      return Message(
          "The printer could not be asked which PIN it takes ({0} answered HTTP status {1}; no "
          "redirect is followed and no password given): the pass code is not sent to it.",
          why.values);
    case UnansweredReason::IppStatus:
      return Message(
          "The printer could not be asked which PIN it takes ({0} answered IPP status {1}): the "
          "pass code is not sent to it.",
          why.values);
    case UnansweredReason::AnswerTooLarge:
      return Message(
          "The printer could not be asked which PIN it takes ({0} answered with more than {1} "
          "bytes): the pass code is not sent to it.",
          why.values);
    case UnansweredReason::NestedTooDeep:
      return Message(
          "The printer could not be asked which PIN it takes ({0} answered with collections "
          "nested more than {1} levels deep): the pass code is not sent to it.",
          why.values);
    case UnansweredReason::NotAnIppAnswer:
      return Message(
          "The printer could not be asked which PIN it takes ({0} gave no well-formed IPP "
          "answer): the pass code is not sent to it.",
          why.values);
    case UnansweredReason::NotAskable:
      break;
  }
  return Message(
      "The printer could not be asked which PIN it takes (it is reached at a {0}:// address, "
      "where it is not asked): the pass code is not sent to it.",
      why.values);
}

// Why the printer cannot take `code` as its PIN, or none when it can.
std::optional<Message> passCodeRefusal(const std::string& code, const PrinterCapabilities& p) {
  if (p.unanswered) return unansweredNote(*p.unanswered);
  if (!p.wrongTypes.empty())
    return Message(
        "The printer answered {0} with a value of the wrong type: the pass code is not sent to "
        "it.",
        {p.wrongTypes.front()});
  const int maxLength = p.passwordMaxLength.value_or(0);
  if (maxLength <= 0)
    return Message("The printer takes no PIN (job-password): the pass code is not sent to it.");
  // A printer that names no encryption takes the PIN as it is, which is also
  // what CUPS assumes when it forwards job-password to it.
  if (!p.passwordEncryptions.empty() && !contains(p.passwordEncryptions, "none"))
    return Message(
        "The printer takes only a hashed PIN, which not every CUPS delivers hashed: the pass "
        "code is not sent to it.");
  const int length = static_cast<int>(fromUtf8(code).size());
  if (length > maxLength)
    return Message(
        "The pass code has {0} characters, more than the {1} the printer takes: it is "
        "not sent to it.",
        {std::to_string(length), std::to_string(maxLength)});
  if (p.passwordLength && (length < p.passwordLength->lower || length > p.passwordLength->upper))
    return Message(
        "The pass code has {0} characters; the printer takes {1} to {2}: it is not "
        "sent to it.",
        {std::to_string(length), std::to_string(p.passwordLength->lower),
         std::to_string(p.passwordLength->upper)});
  if (!p.passwordRepertoires.empty() &&
      std::none_of(p.passwordRepertoires.begin(), p.passwordRepertoires.end(),
                   [&code](const std::string& r) { return repertoireAdmits(r, code); }))
    return Message(
        "The printer does not take the pass code's characters in a PIN: it is not sent to it.");
  return std::nullopt;
}

// Only ipps:// (directly, or a DNS-SD name of an ipps service) is encrypted.
bool reachedSecurely(const std::optional<std::string>& uri) {
  if (!uri) return false;
  if (uri->starts_with("ipps://")) return true;
  return uri->starts_with("dnssd://") && uri->find("._ipps._tcp") != std::string::npos;
}

void mapPassCode(const JobControlSettings& s, const PrinterCapabilities& p,
                 StandardAttributePlan& plan) {
  const std::optional<std::string> code = passCodeSent(s);
  if (!code) return;
  if (auto refusal = passCodeRefusal(*code, p)) {
    plan.notes.push_back(std::move(*refusal));
    return;
  }
  plan.options.emplace_back("job-password", *code);
  plan.options.emplace_back("job-password-encryption", "none");
  if (!reachedSecurely(p.printerURI))
    plan.notes.push_back(
        Message("The printer's address is not ipps://: the PIN travels to it unencrypted."));
}

// The user number identifies the user only when the panel authenticates by
// user number: chosen so, or offered no login name at all.
bool userNumberAuthentication(const JobControlSettings& s) {
  return s.loginAuthentication ? !*s.loginAuthentication : !s.loginNameField;
}

void mapAccounting(const JobControlSettings& s, const PrinterCapabilities& p,
                   StandardAttributePlan& plan) {
  if (userNumberAuthentication(s)) {
    if (auto number = nonEmpty(s.userNumber, kUserNumberLimit)) {
      if (p.accountingUserId)
        plan.options.emplace_back("job-accounting-user-id", *number);
      else
        plan.notes.push_back(Message(
            "The printer takes no user number (job-accounting-user-id): it is not sent to it."));
    }
  }
  if (auto account = nonEmpty(s.accountNumber, kAccountNumberLimit)) {
    if (p.accountId)
      plan.options.emplace_back("job-account-id", *account);
    else
      plan.notes.push_back(
          Message("The printer takes no account number (job-account-id): it is not sent to it."));
  }
}

}  // namespace

StandardAttributePlan mapStandardAttributes(const JobControlSettings& settings,
                                            const PrinterCapabilities& printer) {
  StandardAttributePlan plan;
  mapPassCode(settings, printer, plan);
  mapAccounting(settings, printer, plan);
  return plan;
}

}  // namespace jc
