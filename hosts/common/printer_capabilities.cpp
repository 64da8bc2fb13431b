#include "hosts/common/printer_capabilities.h"

#include <array>
#include <cstring>
#include <memory>
#include <string_view>

namespace jc {
namespace {

constexpr std::array<const char*, 6> kAttributes = {"job-password-supported",
                                                    "job-password-length-supported",
                                                    "job-password-repertoire-supported",
                                                    "job-password-encryption-supported",
                                                    "job-account-id-supported",
                                                    "job-accounting-user-id-supported"};

constexpr int kConnectMilliseconds = 5000;
constexpr double kAnswerSeconds = 10.0;

struct IppDeleter {
  void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
struct HttpCloser {
  void operator()(http_t* http) const { httpClose(http); }
};
using IppPtr = std::unique_ptr<ipp_t, IppDeleter>;
using HttpPtr = std::unique_ptr<http_t, HttpCloser>;

std::string_view schemeOf(std::string_view uri) {
  const auto colon = uri.find(':');
  return colon == std::string_view::npos ? std::string_view() : uri.substr(0, colon);
}

bool contains(const char* text, const char* word) { return text && std::strstr(text, word); }

bool generatedFromPrinterAnswers(ppd_file_t* ppd) {
  if (!ppd) return false;
  const std::string_view file = ppd->pcfilename ? ppd->pcfilename : "";
  return file == "ippeve.ppd" || file == "drvless.ppd" ||
         contains(ppd->nickname, "IPP Everywhere") || contains(ppd->nickname, "driverless");
}

std::vector<std::string> keywords(ipp_attribute_t* attribute) {
  std::vector<std::string> words;
  for (int i = 0; attribute && i < ippGetCount(attribute); ++i)
    if (const char* word = ippGetString(attribute, i, nullptr)) words.emplace_back(word);
  return words;
}

bool booleanOf(ipp_attribute_t* attribute) {
  return attribute && ippGetValueTag(attribute) == IPP_TAG_BOOLEAN && ippGetBoolean(attribute, 0);
}

// An answer of the wrong type counts as no answer.
ipp_attribute_t* find(ipp_t* attributes, const char* name, ipp_tag_t tag) {
  ipp_attribute_t* attribute = ippFindAttribute(attributes, name, IPP_TAG_ZERO);
  return attribute && ippGetValueTag(attribute) == tag ? attribute : nullptr;
}

ipp_t* newAttributesRequest(const std::string& uri) {
  ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri.c_str());
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
               cupsUser());
  ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                int(kAttributes.size()), nullptr, kAttributes.data());
  return request;
}

// The scheduler's own answer for the queue.
std::optional<PrinterCapabilities> askScheduler(const std::string& queue) {
  const std::string uri = "ipp://localhost/printers/" + queue;
  IppPtr answer(
      cupsDoRequest(CUPS_HTTP_DEFAULT, newAttributesRequest(uri), ("/printers/" + queue).c_str()));
  if (!answer || cupsLastError() > IPP_STATUS_OK_CONFLICTING) return std::nullopt;
  return capabilitiesFromAttributes(answer.get());
}

}  // namespace

bool isDriverlessQueue(const std::optional<std::string>& deviceURI, ppd_file_t* ppd) {
  if (!deviceURI) return false;
  const std::string_view scheme = schemeOf(*deviceURI);
  const bool overIpp =
      scheme == "ipp" || scheme == "ipps" || scheme == "dnssd" || scheme == "ippusb";
  return overIpp && generatedFromPrinterAnswers(ppd);
}

PrinterCapabilities capabilitiesFromAttributes(ipp_t* attributes) {
  PrinterCapabilities p;
  if (!attributes) return p;
  if (ipp_attribute_t* a = find(attributes, "job-password-supported", IPP_TAG_INTEGER))
    p.passwordMaxLength = ippGetInteger(a, 0);
  if (ipp_attribute_t* a = find(attributes, "job-password-length-supported", IPP_TAG_RANGE)) {
    PasswordLengthRange range;
    range.lower = ippGetRange(a, 0, &range.upper);
    p.passwordLength = range;
  }
  p.passwordRepertoires =
      keywords(find(attributes, "job-password-repertoire-supported", IPP_TAG_KEYWORD));
  p.passwordEncryptions =
      keywords(find(attributes, "job-password-encryption-supported", IPP_TAG_KEYWORD));
  p.accountId = booleanOf(ippFindAttribute(attributes, "job-account-id-supported", IPP_TAG_ZERO));
  p.accountingUserId =
      booleanOf(ippFindAttribute(attributes, "job-accounting-user-id-supported", IPP_TAG_ZERO));
  return p;
}

std::optional<PrinterCapabilities> askPrinterCapabilities(const std::string& uri) {
  std::array<char, 32> scheme{};
  std::array<char, 256> userpass{};
  std::array<char, 256> host{};
  std::array<char, 1024> resource{};
  int port = 0;
  if (httpSeparateURI(HTTP_URI_CODING_ALL, uri.c_str(), scheme.data(), int(scheme.size()),
                      userpass.data(), int(userpass.size()), host.data(), int(host.size()), &port,
                      resource.data(), int(resource.size())) < HTTP_URI_STATUS_OK)
    return std::nullopt;
  const std::string_view s = scheme.data();
  if (s != "ipp" && s != "ipps") return std::nullopt;
  HttpPtr http(httpConnect2(host.data(), port, nullptr, AF_UNSPEC,
                            s == "ipps" ? HTTP_ENCRYPTION_ALWAYS : HTTP_ENCRYPTION_IF_REQUESTED, 1,
                            kConnectMilliseconds, nullptr));
  if (!http) return std::nullopt;
  httpSetTimeout(http.get(), kAnswerSeconds, nullptr, nullptr);
  IppPtr answer(cupsDoRequest(http.get(), newAttributesRequest(uri), resource.data()));
  if (!answer || cupsLastError() > IPP_STATUS_OK_CONFLICTING) return std::nullopt;
  return capabilitiesFromAttributes(answer.get());
}

PrinterCapabilities readQueueCapabilities(const PrinterInfo& printer, ppd_file_t* ppd) {
  const bool driverless = isDriverlessQueue(printer.deviceURI, ppd);
  std::optional<PrinterCapabilities> read;
  if (driverless) read = askPrinterCapabilities(*printer.deviceURI);
  if (!read && printer.cupsDestination) read = askScheduler(*printer.cupsDestination);
  PrinterCapabilities capabilities = read.value_or(PrinterCapabilities{});
  capabilities.driverless = driverless;
  capabilities.printerURI = printer.deviceURI;
  return capabilities;
}

}  // namespace jc
