// What a printer says it takes, read from a real IPP printer (CUPS's
// ippeveprinter on the loopback interface), and which queues count as
// driverless.
#include "hosts/common/printer_capabilities.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "hosts/common/printer_info.h"
#include "support/case_names.h"
#include "support/file_text.h"
#include "support/panel_fixture.h"
#include "support/process_runner.h"
#include "support/temp_dir.h"

namespace jc {
namespace {

using namespace std::chrono_literals;

constexpr const char* kIppEvePrinter = "/usr/sbin/ippeveprinter";

// A port nobody listens on right now.
int freePort() {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  close(s);
  return ntohs(address.sin_port);
}

// An ippeveprinter with extra attributes from `conf` (ippeveprinter's ATTR
// lines), stopped at the end.
class IppEvePrinter {
 public:
  explicit IppEvePrinter(const std::string& conf) {
    const std::filesystem::path file = dir_.path() / "printer.conf";
    test::writeFile(file, conf);
    const int port = freePort();
    uri_ = "ipp://localhost:" + std::to_string(port) + "/ipp/print";
    process_ = std::make_unique<test::RunningProcess>(std::vector<std::string>{
        kIppEvePrinter, "-p", std::to_string(port), "-n", "localhost", "-d", dir_.path().string(),
        "-a", file.string(), "JC Test Printer"});
  }
  const std::string& uri() const { return uri_; }

 private:
  test::TempDir dir_;
  std::string uri_;
  std::unique_ptr<test::RunningProcess> process_;
};

// The printer's answer once it listens, waiting at most a few seconds.
std::optional<PrinterCapabilities> answerOf(const IppEvePrinter& printer) {
  for (int i = 0; i < 50; ++i) {
    if (auto answer = askPrinterCapabilities(printer.uri())) return answer;
    std::this_thread::sleep_for(100ms);
  }
  return std::nullopt;
}

struct AnswerCase {
  const char* what;
  std::string conf;
  std::optional<int> maxLength;
  std::vector<std::string> encryptions;
  bool accountId;
  bool accountingUserId;
};
void PrintTo(const AnswerCase& c, std::ostream* os) { *os << c.what; }

class PrinterCapabilitiesTest : public testing::TestWithParam<AnswerCase> {};

TEST_P(PrinterCapabilitiesTest, ReadsThePrintersAnswer) {
  if (access(kIppEvePrinter, X_OK) != 0)
    GTEST_SKIP() << "no ippeveprinter here (package cups-ipp-utils)";
  const IppEvePrinter printer(GetParam().conf);
  const std::optional<PrinterCapabilities> answer = answerOf(printer);
  ASSERT_TRUE(answer) << "ippeveprinter did not answer at " << printer.uri();
  EXPECT_EQ(answer->passwordMaxLength, GetParam().maxLength);
  EXPECT_EQ(answer->passwordEncryptions, GetParam().encryptions);
  EXPECT_EQ(answer->accountId, GetParam().accountId);
  EXPECT_EQ(answer->accountingUserId, GetParam().accountingUserId);
}

INSTANTIATE_TEST_SUITE_P(
    IppEvePrinter, PrinterCapabilitiesTest,
    testing::Values(AnswerCase{"plain", "", std::nullopt, {}, false, false},
                    AnswerCase{"pin in the clear",
                               "ATTR integer job-password-supported 4\n"
                               "ATTR keyword job-password-encryption-supported none,sha2-256\n"
                               "ATTR boolean job-account-id-supported true\n"
                               "ATTR boolean job-accounting-user-id-supported true\n",
                               4,
                               {"none", "sha2-256"},
                               true,
                               true},
                    AnswerCase{"hashed only",
                               "ATTR integer job-password-supported 6\n"
                               "ATTR keyword job-password-encryption-supported sha2-256\n"
                               "ATTR boolean job-account-id-supported true\n"
                               "ATTR boolean job-accounting-user-id-supported false\n",
                               6,
                               {"sha2-256"},
                               true,
                               false}),
    test::NameFromWhat{});

TEST(PrinterCapabilitiesTest, NoPrinterAtTheAddressGivesNone) {
  EXPECT_FALSE(
      askPrinterCapabilities("ipp://localhost:" + std::to_string(freePort()) + "/ipp/print"));
  EXPECT_FALSE(askPrinterCapabilities("socket://localhost:9100"));
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
  std::filesystem::path file = test::samplePpdPath();
  if (GetParam().generatedPpd) {
    file = dir.path() / "generated.ppd";
    test::writeFile(file,
                    "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"2.4\"\n"
                    "*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n"
                    "*PCFileName: \"ippeve.ppd\"\n*Manufacturer: \"Test\"\n"
                    "*ModelName: \"Printer\"\n*NickName: \"Printer - IPP Everywhere\"\n"
                    "*ShortNickName: \"Printer - IPP Everywhere\"\n*PSVersion: \"(3010.000) 0\"\n"
                    "*OpenUI *PageSize: PickOne\n*DefaultPageSize: A4\n"
                    "*PageSize A4: \"\"\n*CloseUI: *PageSize\n");
  }
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

}  // namespace
}  // namespace jc
