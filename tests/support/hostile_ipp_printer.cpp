#include "support/hostile_ipp_printer.h"

#include <arpa/inet.h>
#include <cups/ipp.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <stdexcept>

namespace jc::test {
namespace {

using Mode = HostileIppPrinter::Mode;

ssize_t appendTo(void* context, ipp_uchar_t* buffer, size_t size) {
  static_cast<std::string*>(context)->append(reinterpret_cast<const char*>(buffer), size);
  return static_cast<ssize_t>(size);
}

// The printer's answer to Get-Printer-Attributes, as IPP bytes.
std::string attributesAnswer(bool wrongTypes) {
  ipp_t* answer = ippNew();
  ippSetVersion(answer, 2, 0);
  ippSetStatusCode(answer, IPP_STATUS_OK);
  ippSetRequestId(answer, 1);
  ippAddString(answer, IPP_TAG_OPERATION, IPP_TAG_CHARSET, "attributes-charset", nullptr, "utf-8");
  ippAddString(answer, IPP_TAG_OPERATION, IPP_TAG_LANGUAGE, "attributes-natural-language", nullptr,
               "en");
  ippAddInteger(answer, IPP_TAG_PRINTER, IPP_TAG_INTEGER, "job-password-supported", 8);
  ippAddString(answer, IPP_TAG_PRINTER, IPP_TAG_KEYWORD, "job-password-repertoire-supported",
               nullptr, "iana_us-ascii_digits");
  static const char* const clearOrHashed[] = {"none", "sha2-256"};
  // A printer that takes only hashed PINs, but names the encryption wrongly.
  if (wrongTypes)
    ippAddString(answer, IPP_TAG_PRINTER, IPP_TAG_NAME, "job-password-encryption-supported",
                 nullptr, "sha2-256");
  else
    ippAddStrings(answer, IPP_TAG_PRINTER, IPP_TAG_KEYWORD, "job-password-encryption-supported", 2,
                  nullptr, clearOrHashed);
  ippAddBoolean(answer, IPP_TAG_PRINTER, "job-account-id-supported", 1);
  ippAddBoolean(answer, IPP_TAG_PRINTER, "job-accounting-user-id-supported", 1);
  std::string bytes;
  ippWriteIO(&bytes, appendTo, 1, nullptr, answer);
  ippDelete(answer);
  return bytes;
}

void appendValue(std::string& out, char tag, std::string_view name, std::string_view value) {
  out += tag;
  out += static_cast<char>(name.size() >> 8);
  out += static_cast<char>(name.size() & 0xFF);
  out += name;
  out += static_cast<char>(value.size() >> 8);
  out += static_cast<char>(value.size() & 0xFF);
  out += value;
}

// Collections each holding the next, 95,000 deep, never closed: 11 bytes a
// level keeps the whole just under 1 MiB.
std::string deeplyNestedAnswer() {
  std::string out("\x02\x00\x00\x00\x00\x00\x00\x01\x01", 9);
  appendValue(out, 0x47, "attributes-charset", "utf-8");
  appendValue(out, 0x48, "attributes-natural-language", "en");
  out += '\x04';
  appendValue(out, 0x34, "media-col-database", "");
  for (int level = 0; level < 95000; ++level) {
    appendValue(out, 0x4A, "", "m");
    appendValue(out, 0x34, "", "");
  }
  return out;
}

std::string okHead(std::size_t length) {
  return "HTTP/1.1 200 OK\r\nContent-Type: application/ipp\r\nContent-Length: " +
         std::to_string(length) + "\r\n\r\n";
}

// Reads one request and answers its head; none when no whole request came
// within two seconds.
std::optional<std::string> requestHead(int fd) {
  std::string received;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (std::chrono::steady_clock::now() < until) {
    const auto end = received.find("\r\n\r\n");
    if (end != std::string::npos) {
      const std::string head = received.substr(0, end);
      const auto field = head.find("Content-Length: ");
      const std::size_t length =
          field == std::string::npos ? 0 : std::stoul(head.substr(field + 16));
      if (received.size() >= end + 4 + length) return head;
    }
    pollfd watched{fd, POLLIN, 0};
    if (poll(&watched, 1, 50) <= 0) continue;
    char buffer[4096];
    const ssize_t got = recv(fd, buffer, sizeof buffer, 0);
    if (got <= 0) return std::nullopt;
    received.append(buffer, static_cast<std::size_t>(got));
  }
  return std::nullopt;
}

}  // namespace

HostileIppPrinter::HostileIppPrinter(Mode mode) : mode_(mode) {
  listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) ||
      listen(listener_, 8) ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length))
    throw std::runtime_error("hostile printer: cannot listen on the loopback interface");
  port_ = ntohs(address.sin_port);
  server_ = std::thread([this] { serve(); });
}

HostileIppPrinter::~HostileIppPrinter() {
  stop_ = true;
  server_.join();
  close(listener_);
}

std::string HostileIppPrinter::uri() const {
  return "ipp://127.0.0.1:" + std::to_string(port_) + "/ipp/print";
}

std::vector<std::string> HostileIppPrinter::requestHeads() const {
  const std::lock_guard lock(mutex_);
  return heads_;
}

void HostileIppPrinter::serve() {
  while (!stop_) {
    pollfd watched{listener_, POLLIN, 0};
    if (poll(&watched, 1, 20) <= 0) continue;
    const int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    if (const std::optional<std::string> head = requestHead(fd)) {
      {
        const std::lock_guard lock(mutex_);
        heads_.push_back(*head);
      }
      answer(fd);
    }
    close(fd);
  }
}

bool HostileIppPrinter::sendAll(int fd, const std::string& bytes) const {
  std::size_t sent = 0;
  while (sent < bytes.size() && !stop_) {
    pollfd watched{fd, POLLOUT, 0};
    if (poll(&watched, 1, 20) <= 0) continue;
    const ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return sent == bytes.size();
}

bool HostileIppPrinter::pause(int milliseconds) const {
  for (int waited = 0; waited < milliseconds && !stop_; waited += 20)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  return !stop_;
}

void HostileIppPrinter::answer(int fd) {
  const std::string good = attributesAnswer(mode_ == Mode::WrongTypes);
  switch (mode_) {
    case Mode::Good:
    case Mode::WrongTypes:
      sendAll(fd, okHead(good.size()) + good);
      return;
    case Mode::Redirect:
      sendAll(fd, "HTTP/1.1 302 Found\r\nLocation: " + uri() + "\r\nContent-Length: 0\r\n\r\n");
      return;
    case Mode::HugeHeader:
      sendAll(fd, "HTTP/1.1 200 OK\r\nX-Filler: " + std::string(1 << 20, 'a') + "\r\n" +
                      okHead(good.size()).substr(17) + good);
      return;
    case Mode::Drip:
      for (char c : okHead(good.size()) + good)
        if (!sendAll(fd, std::string(1, c)) || !pause(3000)) return;
      return;
    case Mode::EndlessChunks: {
      if (!sendAll(fd,
                   "HTTP/1.1 200 OK\r\nContent-Type: application/ipp\r\n"
                   "Transfer-Encoding: chunked\r\n\r\n"))
        return;
      const std::string chunk = "1000\r\n" + std::string(0x1000, '\x10') + "\r\n";
      while (sendAll(fd, chunk)) {
      }
      return;
    }
    case Mode::EndlessContinue:
      while (sendAll(fd, "HTTP/1.1 100 Continue\r\n\r\n")) {
      }
      return;
    case Mode::DeepNesting: {
      const std::string deep = deeplyNestedAnswer();
      sendAll(fd, okHead(deep.size()) + deep);
      return;
    }
    case Mode::Unauthorized:
      sendAll(fd,
              "HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"printer\"\r\n"
              "Content-Length: 0\r\n\r\n");
      return;
  }
}

int unusedLoopbackPort() {
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

}  // namespace jc::test
