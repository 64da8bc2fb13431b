#include "hosts/common/printer_capabilities.h"

#include <array>
#include <cstring>
#include <memory>
#include <string_view>
#include <variant>

#include "hosts/common/ipp_exchange.h"

namespace jc {
namespace {

constexpr std::array<const char*, 6> kAttributes = {"job-password-supported",
                                                    "job-password-length-supported",
                                                    "job-password-repertoire-supported",
                                                    "job-password-encryption-supported",
                                                    "job-account-id-supported",
                                                    "job-accounting-user-id-supported"};

// The job-password attributes and the type each must have.
struct PasswordAttribute {
  const char* name;
  ipp_tag_t tag;
};
constexpr std::array<PasswordAttribute, 4> kPasswordAttributes = {
    {{"job-password-supported", IPP_TAG_INTEGER},
     {"job-password-length-supported", IPP_TAG_RANGE},
     {"job-password-repertoire-supported", IPP_TAG_KEYWORD},
     {"job-password-encryption-supported", IPP_TAG_KEYWORD}}};

struct IppDeleter {
  void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using IppPtr = std::unique_ptr<ipp_t, IppDeleter>;

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

struct MemoryReader {
  std::string_view bytes;
};

ssize_t readFromMemory(void* context, ipp_uchar_t* buffer, size_t size) {
  auto& reader = *static_cast<MemoryReader*>(context);
  const std::size_t count = std::min(size, reader.bytes.size());
  std::memcpy(buffer, reader.bytes.data(), count);
  reader.bytes.remove_prefix(count);
  return static_cast<ssize_t>(count);
}

ssize_t writeToString(void* context, ipp_uchar_t* buffer, size_t size) {
  static_cast<std::string*>(context)->append(reinterpret_cast<const char*>(buffer), size);
  return static_cast<ssize_t>(size);
}

std::string encodedRequest(const std::string& printerUri) {
  IppPtr request(newAttributesRequest(printerUri));
  std::string bytes;
  ippWriteIO(&bytes, writeToString, 1, nullptr, request.get());
  return bytes;
}

PrinterCapabilities unanswered(UnansweredReason reason, std::vector<std::string> values) {
  PrinterCapabilities capabilities;
  capabilities.unanswered = Unanswered{reason, std::move(values)};
  return capabilities;
}

// The scheduler's own answer for the queue.
PrinterCapabilities askScheduler(const std::string& queue) {
  const std::string uri = "ipp://localhost/printers/" + queue;
  IppPtr answer(
      cupsDoRequest(CUPS_HTTP_DEFAULT, newAttributesRequest(uri), ("/printers/" + queue).c_str()));
  if (!answer || cupsLastError() > IPP_STATUS_OK_CONFLICTING)
    return unanswered(UnansweredReason::IppStatus, {cupsServer(), ippErrorString(cupsLastError())});
  return capabilitiesFromAttributes(answer.get());
}

// What stands in for a driverless printer that was not asked: the
// scheduler's answers about accounting, never any about the PIN (the
// scheduler says "none" for every queue that takes one at all).
PrinterCapabilities withoutPrinterAnswer(const Unanswered& why, const PrinterInfo& printer) {
  PrinterCapabilities capabilities;
  if (printer.cupsDestination) {
    const PrinterCapabilities scheduler = askScheduler(*printer.cupsDestination);
    capabilities.accountId = scheduler.accountId;
    capabilities.accountingUserId = scheduler.accountingUserId;
  }
  capabilities.unanswered = why;
  return capabilities;
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
  for (const auto& [name, tag] : kPasswordAttributes)
    if (ipp_attribute_t* a = ippFindAttribute(attributes, name, IPP_TAG_ZERO);
        a && ippGetValueTag(a) != tag)
      p.wrongTypes.emplace_back(name);
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

PrinterCapabilities capabilitiesFromAnswer(std::string_view answer, const std::string& where) {
  MemoryReader reader{answer};
  IppPtr attributes(ippNew());
  if (ippReadIO(&reader, readFromMemory, 1, nullptr, attributes.get()) != IPP_STATE_DATA)
    return unanswered(UnansweredReason::NotAnIppAnswer, {where});
  // Any number may come as the status, also none that the enumeration names.
  if (const int status = static_cast<int>(ippGetStatusCode(attributes.get()));
      status > IPP_STATUS_OK_CONFLICTING)
    return unanswered(UnansweredReason::IppStatus,
                      {where, ippErrorString(static_cast<ipp_status_t>(status))});
  return capabilitiesFromAttributes(attributes.get());
}

PrinterCapabilities askPrinterCapabilities(const std::string& uri) {
  const std::optional<IppAddress> address = ippAddressOf(uri);
  if (!address) return unanswered(UnansweredReason::NotAskable, {std::string(schemeOf(uri))});
  auto answer = exchangeIpp(*address, encodedRequest(address->uri()));
  if (auto* why = std::get_if<Unanswered>(&answer)) {
    PrinterCapabilities capabilities;
    capabilities.unanswered = std::move(*why);
    return capabilities;
  }
  return capabilitiesFromAnswer(std::get<std::string>(answer), address->label());
}

PrinterCapabilities readQueueCapabilities(const PrinterInfo& printer, ppd_file_t* ppd) {
  const bool driverless = isDriverlessQueue(printer.deviceURI, ppd);
  PrinterCapabilities capabilities;
  if (driverless) {
    capabilities = askPrinterCapabilities(*printer.deviceURI);
    if (capabilities.unanswered)
      capabilities = withoutPrinterAnswer(*capabilities.unanswered, printer);
  } else if (printer.cupsDestination) {
    capabilities = askScheduler(*printer.cupsDestination);
  }
  capabilities.driverless = driverless;
  capabilities.printerURI = printer.deviceURI;
  return capabilities;
}

}  // namespace jc
