// What a printer's answer says it takes, and which queues count as
// driverless. Real printers' answers are read in the driverless queues test,
// which starts them with the DNS-SD services they need.
#include "hosts/common/printer_capabilities.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "hosts/common/printer_info.h"
#include "support/case_names.h"
#include "support/file_text.h"
#include "support/panel_fixture.h"
#include "support/temp_dir.h"

namespace jc {
namespace {

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
