// What a printer's answer says it takes, which queues count as driverless,
// and what hostile printers come to. Real printers' answers are read in the
// driverless queues test, which starts them with the DNS-SD services they
// need.
#include "hosts/common/printer_capabilities.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "hosts/common/printer_info.h"
#include "settings/standard_attributes.h"
#include "support/case_names.h"
#include "support/file_text.h"
#include "support/hostile_ipp_printer.h"
#include "support/panel_fixture.h"
#include "support/process_runner.h"
#include "support/temp_dir.h"

namespace jc {
namespace {

// A PPD as CUPS makes it from a printer's own answers.
std::filesystem::path generatedPpd(const std::filesystem::path& dir) {
  const std::filesystem::path file = dir / "generated.ppd";
  test::writeFile(file,
                  "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"2.4\"\n"
                  "*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n"
                  "*PCFileName: \"ippeve.ppd\"\n*Manufacturer: \"Test\"\n"
                  "*ModelName: \"Printer\"\n*NickName: \"Printer - IPP Everywhere\"\n"
                  "*ShortNickName: \"Printer - IPP Everywhere\"\n*PSVersion: \"(3010.000) 0\"\n"
                  "*OpenUI *PageSize: PickOne\n*DefaultPageSize: A4\n"
                  "*PageSize A4: \"\"\n*CloseUI: *PageSize\n");
  return file;
}

TEST(PrinterCapabilitiesTest, NoPrinterAtTheAddressGivesNone) {
  const std::string port = std::to_string(test::unusedLoopbackPort());
  EXPECT_EQ(askPrinterCapabilities("ipp://127.0.0.1:" + port + "/ipp/print").unanswered,
            (Unanswered{UnansweredReason::NoConnection, {"127.0.0.1:" + port}}));
  EXPECT_EQ(askPrinterCapabilities("socket://localhost:9100").unanswered,
            (Unanswered{UnansweredReason::NotAskable, {"socket"}}));
}

// CUPS's own printer application answers over TLS as over plain IPP. It will
// not serve without a DNS-SD responder to announce it.
TEST(PrinterCapabilitiesTest, AsksAPrinterOverIpps) {
  if (access("/usr/sbin/ippeveprinter", X_OK) != 0) GTEST_SKIP() << "no ippeveprinter";
  if (test::runProcess({"/usr/sbin/avahi-daemon", "--check"}).exitStatus != 0)
    GTEST_SKIP() << "no DNS-SD responder runs";
  test::TempDir dir;
  const std::filesystem::path printers =
      std::filesystem::path(JC_TEST_DATA_DIR).parent_path() / "hosts" / "driverless";
  test::writeFile(dir.path() / "printer.conf", test::readFile(printers / "printer-base.conf") +
                                                   test::readFile(printers / "pin-hashed.conf"));
  std::filesystem::create_directory(dir.path() / "spool");
  const std::string port = std::to_string(test::unusedLoopbackPort());
  const test::RunningProcess printer({"/usr/sbin/ippeveprinter", "-n", "localhost", "-p", port,
                                      "-r", "off", "-d", (dir.path() / "spool").string(), "-a",
                                      (dir.path() / "printer.conf").string(), "JobControlTls"},
                                     {{"HOME", dir.path().string()}});
  PrinterCapabilities p;
  for (int tries = 0; tries < 50; ++tries) {
    p = askPrinterCapabilities("ipps://localhost:" + port + "/ipp/print");
    if (!p.unanswered) break;
    usleep(200 * 1000);
  }
  EXPECT_FALSE(p.unanswered);
  EXPECT_EQ(p.passwordMaxLength, 8);
  EXPECT_EQ(p.passwordEncryptions, std::vector<std::string>{"sha2-256"});
  EXPECT_TRUE(p.accountId);
}

TEST(PrinterCapabilitiesTest, AnswersOfTheWrongTypeCountAsNone) {
  ipp_t* attributes = ippNew();
  ippAddString(attributes, IPP_TAG_PRINTER, IPP_TAG_KEYWORD, "job-password-supported", nullptr,
               "four");
  ippAddRange(attributes, IPP_TAG_PRINTER, "job-password-length-supported", 4, 8);
  ippAddInteger(attributes, IPP_TAG_PRINTER, IPP_TAG_INTEGER, "job-account-id-supported", 1);
  const PrinterCapabilities p = capabilitiesFromAttributes(attributes);
  ippDelete(attributes);
  EXPECT_FALSE(p.passwordMaxLength);
  EXPECT_EQ(p.wrongTypes, std::vector<std::string>{"job-password-supported"});
  ASSERT_TRUE(p.passwordLength);
  EXPECT_EQ(p.passwordLength->lower, 4);
  EXPECT_EQ(p.passwordLength->upper, 8);
  EXPECT_FALSE(p.accountId);
}

struct QueueCase {
  const char* what;
  std::optional<std::string> deviceURI;
  bool generatedPpd;
  bool driverless;
};
void PrintTo(const QueueCase& c, std::ostream* os) { *os << c.what; }

class DriverlessQueueTest : public testing::TestWithParam<QueueCase> {};

TEST_P(DriverlessQueueTest, NeedsAnIppDeviceAndAGeneratedPpd) {
  test::TempDir dir;
  const std::filesystem::path file =
      GetParam().generatedPpd ? generatedPpd(dir.path()) : test::samplePpdPath();
  const PpdFile ppd(file);
  EXPECT_EQ(isDriverlessQueue(GetParam().deviceURI, ppd.get()), GetParam().driverless);
}

INSTANTIATE_TEST_SUITE_P(
    Queues, DriverlessQueueTest,
    testing::Values(QueueCase{"everywhere on ipp", "ipp://printer.local/ipp/print", true, true},
                    QueueCase{"everywhere on ipps", "ipps://printer.local/ipp/print", true, true},
                    QueueCase{"everywhere on dnssd", "dnssd://P._ipps._tcp.local/", true, true},
                    QueueCase{"generated on socket", "socket://printer:9100", true, false},
                    QueueCase{"family ppd on ipp", "ipp://printer.local/ipp/print", false, false},
                    QueueCase{"no device", std::nullopt, true, false}),
    test::NameFromWhat{});

using Mode = test::HostileIppPrinter::Mode;
using Options = std::vector<std::pair<std::string, std::string>>;

const std::string kNoUserId =
    "The printer takes no user number (job-accounting-user-id): it is not sent to it.";
const std::string kNoAccount =
    "The printer takes no account number (job-account-id): it is not sent to it.";
const Options kAccounting = {{"job-accounting-user-id", "42"}, {"job-account-id", "777"}};

struct HostileCase {
  const char* what;
  std::optional<Mode> mode;  // none: nobody listens at the address
  Options options;
  // The note about the PIN, "{host}" standing for the printer's host and port.
  std::string note;
  bool accountingKnown;
};
void PrintTo(const HostileCase& c, std::ostream* os) { *os << c.what; }

std::string withHost(std::string text, const std::string& host) {
  if (const auto at = text.find("{host}"); at != std::string::npos) text.replace(at, 6, host);
  return text;
}

// Held with pass code 1234, user number 42, account 777.
JobControlSettings heldJob() {
  JobControlSettings s;
  s.retention = true;
  s.suspendRow = 0;
  s.suspendKey = u"1234";
  s.loginAuthentication = false;
  s.userNumber = u"42";
  s.accountNumber = u"777";
  return s;
}

// Stands for a user at a terminal who types a password whenever asked.
int passwordRequests = 0;
const char* typedPassword(const char*, http_t*, const char*, const char*, void*) {
  ++passwordRequests;
  return "typed-secret";
}

class HostilePrinterTest : public testing::TestWithParam<HostileCase> {};

TEST_P(HostilePrinterTest, EndsInTimeWithItsNoteAndNoPinWhereNoneMayGo) {
  const HostileCase& c = GetParam();
  std::optional<test::HostileIppPrinter> printer;
  std::string uri = "ipp://127.0.0.1:" + std::to_string(test::unusedLoopbackPort()) + "/ipp/print";
  if (c.mode) uri = printer.emplace(*c.mode).uri();
  const std::string host = uri.substr(6, uri.find('/', 6) - 6);
  test::TempDir dir;
  const PpdFile ppd(generatedPpd(dir.path()));
  PrinterInfo queue{"hostile", uri, {}, std::nullopt};
  passwordRequests = 0;
  cupsSetPasswordCB2(typedPassword, nullptr);

  const auto start = std::chrono::steady_clock::now();
  const PrinterCapabilities capabilities = readQueueCapabilities(queue, ppd.get());
  const auto took = std::chrono::steady_clock::now() - start;
  cupsSetPasswordCB2(nullptr, nullptr);

  // 5 seconds is the exchange's limit; the rest is room for a loaded machine.
  EXPECT_LT(took, std::chrono::seconds(8));
  const StandardAttributePlan plan = mapStandardAttributes(heldJob(), capabilities);
  EXPECT_EQ(plan.options, c.options);
  std::vector<std::string> notes;
  for (const Message& note : plan.notes) notes.push_back(note.text());
  std::vector<std::string> expected = {withHost(c.note, host)};
  if (!c.accountingKnown) expected.insert(expected.end(), {kNoUserId, kNoAccount});
  EXPECT_EQ(notes, expected);
  EXPECT_EQ(passwordRequests, 0);
  if (printer) {
    const std::vector<std::string> heads = printer->requestHeads();
    EXPECT_EQ(heads.size(), 1u) << "no redirect is followed, no request repeated";
    for (const std::string& head : heads) EXPECT_EQ(head.find("Authorization"), std::string::npos);
  }
}

const std::string kNotAsked = "The printer could not be asked which PIN it takes (";
const std::string kNotSent = "): the pass code is not sent to it.";

INSTANTIATE_TEST_SUITE_P(
    Modes, HostilePrinterTest,
    testing::Values(
        HostileCase{"good",
                    Mode::Good,
                    {{"job-password", "1234"},
                     {"job-password-encryption", "none"},
                     {"job-accounting-user-id", "42"},
                     {"job-account-id", "777"}},
                    "The printer's address is not ipps://: the PIN travels to it unencrypted.",
                    true},
        HostileCase{"redirect",
                    Mode::Redirect,
                    {},
                    kNotAsked +
                        "{host} answered HTTP status 302; no redirect is followed and no "
                        "password given" +
                        kNotSent,
                    false},
        HostileCase{"huge header line",
                    Mode::HugeHeader,
                    {},
                    kNotAsked + "{host} answered with more than 65536 bytes" + kNotSent,
                    false},
        HostileCase{"drip",
                    Mode::Drip,
                    {},
                    kNotAsked + "{host} gave no whole answer within 5 seconds" + kNotSent,
                    false},
        HostileCase{"endless chunks",
                    Mode::EndlessChunks,
                    {},
                    kNotAsked + "{host} answered with more than 1048576 bytes" + kNotSent,
                    false},
        HostileCase{"endless 100 continue",
                    Mode::EndlessContinue,
                    {},
                    kNotAsked + "{host} answered with more than 65536 bytes" + kNotSent,
                    false},
        HostileCase{"deep nesting",
                    Mode::DeepNesting,
                    {},
                    kNotAsked + "{host} answered with collections nested more than 8 levels deep" +
                        kNotSent,
                    false},
        HostileCase{"401",
                    Mode::Unauthorized,
                    {},
                    kNotAsked +
                        "{host} answered HTTP status 401; no redirect is followed and no "
                        "password given" +
                        kNotSent,
                    false},
        HostileCase{"wrong types", Mode::WrongTypes, kAccounting,
                    "The printer answered job-password-encryption-supported with a value of the "
                    "wrong type: the pass code is not sent to it.",
                    true},
        HostileCase{
            "down", std::nullopt, {}, kNotAsked + "no connection to {host}" + kNotSent, false}),
    test::NameFromWhat{});

}  // namespace
}  // namespace jc
