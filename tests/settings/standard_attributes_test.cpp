// The panel's values against what a printer takes: exact job options and
// notes for each pairing of capabilities and settings.
#include "settings/standard_attributes.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/case_names.h"

namespace jc {
namespace {

using Options = std::vector<std::pair<std::string, std::string>>;
using Notes = std::vector<std::string>;

const std::string kClear =
    "The printer's address is not ipps://: the PIN travels to it unencrypted.";
const std::string kHashedOnly =
    "The printer takes only a hashed PIN, which not every CUPS delivers hashed: the pass code is "
    "not sent to it.";
const std::string kNoPin =
    "The printer takes no PIN (job-password): the pass code is not sent to it.";
const std::string kNoUserId =
    "The printer takes no user number (job-accounting-user-id): it is not sent to it.";
const std::string kNoAccount =
    "The printer takes no account number (job-account-id): it is not sent to it.";

// A driverless printer on ipps that takes every attribute, digits up to 8.
PrinterCapabilities everything() {
  PrinterCapabilities p;
  p.driverless = true;
  p.printerURI = "ipps://printer.local:631/ipp/print";
  p.passwordMaxLength = 8;
  p.passwordRepertoires = {"iana_us-ascii_digits"};
  p.passwordEncryptions = {"none", "sha2-256"};
  p.accountId = true;
  p.accountingUserId = true;
  return p;
}

// A held job with pass code "1234", user-number authentication with 42 and
// account 777; the login password is set too and must never travel.
JobControlSettings heldJob() {
  JobControlSettings s;
  s.retention = true;
  s.suspendRow = 0;
  s.suspendKey = u"1234";
  s.loginAuthentication = false;
  s.loginNameField = true;
  s.loginName = u"ada";
  s.password = u"pw-secret";
  s.userNumber = u"42";
  s.accountNumber = u"777";
  s.folderPassword = u"99";
  return s;
}

struct MappingCase {
  const char* what;
  void (*printer)(PrinterCapabilities&);
  void (*settings)(JobControlSettings&);
  Options options;
  Notes notes;
};
void PrintTo(const MappingCase& c, std::ostream* os) { *os << c.what; }

const Options kAll = {{"job-password", "1234"},
                      {"job-password-encryption", "none"},
                      {"job-accounting-user-id", "42"},
                      {"job-account-id", "777"}};
const Options kAccountingOnly = {{"job-accounting-user-id", "42"}, {"job-account-id", "777"}};

const MappingCase kCases[] = {
    {"none and sha2 send digits with none",
     [](PrinterCapabilities&) {},
     [](JobControlSettings&) {},
     kAll,
     {}},
    {"sha2 only sends no pin",
     [](PrinterCapabilities& p) { p.passwordEncryptions = {"sha2-256"}; },
     [](JobControlSettings&) {},
     kAccountingOnly,
     {kHashedOnly}},
    {"no encryption list takes the pin as it is",
     [](PrinterCapabilities& p) { p.passwordEncryptions.clear(); },
     [](JobControlSettings&) {},
     kAll,
     {}},
    {"no support at all",
     [](PrinterCapabilities& p) { p = PrinterCapabilities{}; },
     [](JobControlSettings&) {},
     {},
     {kNoPin, kNoUserId, kNoAccount}},
    {"zero length takes no pin",
     [](PrinterCapabilities& p) { p.passwordMaxLength = 0; },
     [](JobControlSettings&) {},
     kAccountingOnly,
     {kNoPin}},
    {"too long",
     [](PrinterCapabilities& p) { p.passwordMaxLength = 4; },
     [](JobControlSettings& s) { s.suspendKey = u"12345"; },
     kAccountingOnly,
     {"The pass code has 5 characters, more than the 4 the printer takes: it is not sent to it."}},
    {"outside the length range",
     [](PrinterCapabilities& p) {
       p.passwordLength = PasswordLengthRange{6, 8};
     },
     [](JobControlSettings&) {},
     kAccountingOnly,
     {"The pass code has 4 characters; the printer takes 6 to 8: it is not sent to it."}},
    {"letters only repertoire",
     [](PrinterCapabilities& p) { p.passwordRepertoires = {"iana_us-ascii_letters"}; },
     [](JobControlSettings&) {},
     kAccountingOnly,
     {"The printer does not take the pass code's characters in a PIN: it is not sent to it."}},
    {"unknown repertoire beside any",
     [](PrinterCapabilities& p) {
       p.passwordRepertoires = {"vendor_x", "iana_us-ascii_any"};
     },
     [](JobControlSettings&) {},
     kAll,
     {}},
    {"ipp address warns of clear text",
     [](PrinterCapabilities& p) { p.printerURI = "ipp://printer.local:631/ipp/print"; },
     [](JobControlSettings&) {},
     kAll,
     {kClear}},
    {"dnssd ipps service is encrypted",
     [](PrinterCapabilities& p) { p.printerURI = "dnssd://Printer._ipps._tcp.local/"; },
     [](JobControlSettings&) {},
     kAll,
     {}},
    {"unknown address warns",
     [](PrinterCapabilities& p) { p.printerURI.reset(); },
     [](JobControlSettings&) {},
     kAll,
     {kClear}},
    {"retention off sends no pin",
     [](PrinterCapabilities&) {},
     [](JobControlSettings& s) { s.retention = false; },
     kAccountingOnly,
     {}},
    {"no hold mode control sends no pin",
     [](PrinterCapabilities&) {},
     [](JobControlSettings& s) { s.suspendRow.reset(); },
     kAccountingOnly,
     {}},
    {"empty pass code",
     [](PrinterCapabilities& p) { p.passwordMaxLength.reset(); },
     [](JobControlSettings& s) { s.suspendKey = u""; },
     kAccountingOnly,
     {}},
    {"login auth sends no user number",
     [](PrinterCapabilities&) {},
     [](JobControlSettings& s) { s.loginAuthentication = true; },
     {{"job-password", "1234"}, {"job-password-encryption", "none"}, {"job-account-id", "777"}},
     {}},
    {"no authentication control but a login field",
     [](PrinterCapabilities&) {},
     [](JobControlSettings& s) { s.loginAuthentication.reset(); },
     {{"job-password", "1234"}, {"job-password-encryption", "none"}, {"job-account-id", "777"}},
     {}},
    {"codes cut as the writer cuts them",
     [](PrinterCapabilities&) {},
     [](JobControlSettings& s) {
       s.userNumber = u"123456789";
       s.accountNumber = u"12345678";
     },
     {{"job-password", "1234"},
      {"job-password-encryption", "none"},
      {"job-accounting-user-id", "12345678"},
      {"job-account-id", "12345"}},
     {}},
    {"layout without the fields",
     [](PrinterCapabilities&) {},
     [](JobControlSettings& s) { s = JobControlSettings{}; },
     {},
     {}},
};

class StandardAttributesTest : public testing::TestWithParam<MappingCase> {};

TEST_P(StandardAttributesTest, MapsToExactOptionsAndNotes) {
  PrinterCapabilities printer = everything();
  GetParam().printer(printer);
  JobControlSettings settings = heldJob();
  GetParam().settings(settings);
  const StandardAttributePlan plan = mapStandardAttributes(settings, printer);
  EXPECT_EQ(plan.options, GetParam().options);
  Notes notes;
  for (const Message& note : plan.notes) notes.push_back(note.text());
  EXPECT_EQ(notes, GetParam().notes);
  // The login name, password and folder pass code have no standard home.
  for (const auto& [name, value] : plan.options) {
    EXPECT_NE(value, "pw-secret") << name;
    EXPECT_NE(value, "ada") << name;
    EXPECT_NE(value, "99") << name;
  }
}

INSTANTIATE_TEST_SUITE_P(Pairings, StandardAttributesTest, testing::ValuesIn(kCases),
                         test::NameFromWhat{});

}  // namespace
}  // namespace jc
