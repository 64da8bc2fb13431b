#include "hosts/common/ipp_exchange.h"

#include <cups/http.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "hosts/common/bounded_connection.h"
#include "hosts/common/http_answer_framing.h"
#include "hosts/common/ipp_message_shape.h"

namespace jc {
namespace {

constexpr std::size_t kReadBytes = 16 * 1024;

bool fitsARequestLine(std::string_view text) {
  return std::none_of(text.begin(), text.end(),
                      [](char c) { return static_cast<unsigned char>(c) <= 0x20 || c == 0x7F; });
}

std::string secondsOf(std::chrono::milliseconds duration) {
  return std::to_string((duration.count() + 999) / 1000);
}

class Exchange {
 public:
  Exchange(const IppAddress& address, const IppExchangeLimits& limits)
      : address_(address),
        limits_(limits),
        where_(address.label()),
        framing_(limits.maxHeadBytes, limits.maxAnswerBytes) {}

  std::variant<std::string, Unanswered> run(std::string_view ipp) {
    const Deadline deadline = std::chrono::steady_clock::now() + limits_.total;
    auto [connection, failure] =
        BoundedConnection::open(address_.host, address_.port, address_.tls, deadline);
    if (!connection) return failed(*failure);
    if (auto writeFailure = connection->writeAll(httpPostRequest(address_, ipp)))
      return failed(*writeFailure);
    if (auto readFailure = read(*connection)) return failed(*readFailure);
    return answer();
  }

 private:
  Unanswered unanswered(UnansweredReason reason, std::vector<std::string> more = {}) const {
    more.insert(more.begin(), where_);
    return Unanswered{reason, std::move(more)};
  }

  Unanswered failed(BoundedConnection::Failure failure) const {
    if (failure == BoundedConnection::Failure::TimedOut)
      return unanswered(UnansweredReason::NoTimelyAnswer, {secondsOf(limits_.total)});
    return unanswered(UnansweredReason::NoConnection);
  }

  // Reads until the framing has decided; a failure only when the time ran out.
  std::optional<BoundedConnection::Failure> read(BoundedConnection& connection) {
    std::array<char, kReadBytes> buffer{};
    while (framing_.state() == HttpAnswerFraming::State::NeedMore) {
      const auto got = connection.readSome(buffer.data(), buffer.size());
      if (got.failure) return got.failure;
      if (got.closed)
        framing_.close();
      else
        framing_.feed(std::string_view(buffer.data(), got.bytes));
    }
    return std::nullopt;
  }

  std::variant<std::string, Unanswered> answer() const {
    const HttpAnswerFraming& framing = framing_;
    switch (framing.state()) {
      case HttpAnswerFraming::State::TooLarge:
        return unanswered(UnansweredReason::AnswerTooLarge,
                          {std::to_string(framing.exceededLimit())});
      case HttpAnswerFraming::State::Complete:
        break;
      default:
        return unanswered(UnansweredReason::NotAnIppAnswer);
    }
    if (framing.status() != 200)
      return unanswered(UnansweredReason::HttpStatus, {std::to_string(framing.status())});
    switch (ippMessageShape(framing.body(), limits_.maxCollectionDepth)) {
      case IppMessageShape::Fits:
        return framing.body();
      case IppMessageShape::TooDeep:
        return unanswered(UnansweredReason::NestedTooDeep,
                          {std::to_string(limits_.maxCollectionDepth)});
      case IppMessageShape::Malformed:
        break;
    }
    return unanswered(UnansweredReason::NotAnIppAnswer);
  }

  const IppAddress& address_;
  const IppExchangeLimits& limits_;
  std::string where_;
  HttpAnswerFraming framing_;
};

}  // namespace

std::string IppAddress::label() const {
  const bool v6 = host.find(':') != std::string::npos;
  return (v6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

std::string IppAddress::uri() const {
  return std::string(tls ? "ipps" : "ipp") + "://" + label() + resource;
}

std::optional<IppAddress> ippAddressOf(const std::string& uri) {
  std::array<char, 32> scheme{};
  std::array<char, 256> userpass{};
  std::array<char, 256> host{};
  std::array<char, 1024> resource{};
  int port = 0;
  // Undecoded, so that the resource goes into the request line as it came.
  if (httpSeparateURI(HTTP_URI_CODING_NONE, uri.c_str(), scheme.data(), int(scheme.size()),
                      userpass.data(), int(userpass.size()), host.data(), int(host.size()), &port,
                      resource.data(), int(resource.size())) < HTTP_URI_STATUS_OK)
    return std::nullopt;
  const std::string_view s = scheme.data();
  if (s != "ipp" && s != "ipps") return std::nullopt;
  IppAddress address{s == "ipps", host.data(), port, resource.data()};
  if (address.host.empty() || port <= 0 || port > 65535 || !fitsARequestLine(address.host) ||
      !fitsARequestLine(address.resource) || !address.resource.starts_with('/'))
    return std::nullopt;
  return address;
}

std::string httpPostRequest(const IppAddress& address, std::string_view ipp) {
  std::string request =
      "POST " + address.resource + " HTTP/1.1\r\nHost: " + address.label() +
      "\r\nContent-Type: application/ipp\r\nContent-Length: " + std::to_string(ipp.size()) +
      "\r\nConnection: close\r\n\r\n";
  request.append(ipp);
  return request;
}

std::variant<std::string, Unanswered> exchangeIpp(const IppAddress& address, std::string_view ipp,
                                                  const IppExchangeLimits& limits) {
  return Exchange(address, limits).run(ipp);
}

}  // namespace jc
