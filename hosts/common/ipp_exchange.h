// One IPP request to a printer and its answer, bounded: an overall time for
// everything from the name lookup to the answer's last byte, a size for the
// answer kept in memory, a depth for its collections. No redirect is
// followed and no credentials are ever sent: any HTTP status but 200 ends the
// exchange. The answer is returned as bytes for a parser to read.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "settings/printer_capabilities.h"

namespace jc {

struct IppExchangeLimits {
  std::chrono::milliseconds total{5000};
  std::size_t maxHeadBytes = 64 * 1024;  // status line, fields, interim answers, trailers
  std::size_t maxAnswerBytes = 1 << 20;  // the IPP answer
  int maxCollectionDepth = 8;
};

// Where an ipp:// or ipps:// address leads.
struct IppAddress {
  bool tls = false;
  std::string host;
  int port = 631;
  std::string resource;  // "/ipp/print"

  // "printer.local:631", "[::1]:8631": how notes name the printer.
  std::string label() const;
  // The address without any user part, as the request names the printer.
  std::string uri() const;
};

// None for any other scheme, or an address that does not parse.
std::optional<IppAddress> ippAddressOf(const std::string& uri);

// The HTTP request that carries `ipp` to `address`.
std::string httpPostRequest(const IppAddress& address, std::string_view ipp);

// The answer's IPP message, checked for its framing and nesting, or why the
// printer counts as not asked.
std::variant<std::string, Unanswered> exchangeIpp(const IppAddress& address, std::string_view ipp,
                                                  const IppExchangeLimits& limits = {});

}  // namespace jc
