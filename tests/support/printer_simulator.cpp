#include "support/printer_simulator.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <stdexcept>

namespace jc::test {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Every wait of the server is cut into slices this long so that a stop
// request is noticed promptly.
constexpr milliseconds kSlice{20};
// Upper bounds that keep every loop finite.
constexpr milliseconds kReadLimit{10000};
constexpr milliseconds kWriteLimit{30000};
constexpr milliseconds kStallLimit{120000};
constexpr std::size_t kMaxHeaderBytes = 64 * 1024;
constexpr std::size_t kMaxBodyBytes = 32u * 1024u * 1024u;

std::string escapeXml(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string envelope(std::string_view response) {
  std::string out =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
      "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\">\n  <s:Body>\n";
  out += response;
  out += "  </s:Body>\n</s:Envelope>\n";
  return out;
}

std::string filesElement(const std::vector<SimulatedFolder>& folders, std::string_view prefix) {
  std::string p(prefix);
  std::string out = "      <" + p + "files>\n";
  for (const auto& folder : folders) {
    out += "        <" + p + "file><" + p + "name>" + escapeXml(folder.name) + "</" + p + "name><" +
           p + "password>" + (folder.password ? "true" : "false") + "</" + p + "password><" + p +
           "dir>" + (folder.dir ? "true" : "false") + "</" + p + "dir></" + p + "file>\n";
  }
  out += "      </" + p + "files>\n";
  return out;
}

const char* reasonPhrase(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 301:
      return "Moved Permanently";
    case 302:
      return "Found";
    case 303:
      return "See Other";
    case 307:
      return "Temporary Redirect";
    case 308:
      return "Permanent Redirect";
    case 400:
      return "Bad Request";
    case 404:
      return "Not Found";
    case 500:
      return "Internal Server Error";
    default:
      return "Status";
  }
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::string trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
    text.remove_suffix(1);
  }
  return std::string(text);
}

class Socket {
 public:
  explicit Socket(int fd) : fd_(fd) {}
  ~Socket() {
    if (fd_ >= 0) ::close(fd_);
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

std::string folderListAnswer(const std::vector<SimulatedFolder>& folders,
                             std::string_view resultCode, bool withFiles) {
  std::string response =
      "    <listfiles-response>\n      <result-code>" + escapeXml(resultCode) + "</result-code>\n";
  if (withFiles) response += filesElement(folders, "");
  response += "    </listfiles-response>\n";
  return envelope(response);
}

std::string prefixedFolderListAnswer(const std::vector<SimulatedFolder>& folders) {
  std::string response =
      "    <k:listfiles-response xmlns:k=\"urn:korvel:mfp\">\n"
      "      <k:result-code>ok</k:result-code>\n" +
      filesElement(folders, "k:") + "    </k:listfiles-response>\n";
  return envelope(response);
}

std::vector<SimulatedFolder> numberedFolders(std::size_t count) {
  std::vector<SimulatedFolder> folders;
  folders.reserve(count);
  char name[32];
  for (std::size_t i = 0; i < count; ++i) {
    std::snprintf(name, sizeof name, "Folder %06zu", i + 1);
    folders.push_back({name, i % 3 == 0, true});
  }
  return folders;
}

std::optional<std::string> RecordedRequest::header(std::string_view name) const {
  for (const auto& [field, value] : headers) {
    if (equalsIgnoringCase(field, name)) return value;
  }
  return std::nullopt;
}

std::size_t RecordedRequest::headerCount(std::string_view name) const {
  return static_cast<std::size_t>(std::count_if(headers.begin(), headers.end(), [&](const auto& h) {
    return equalsIgnoringCase(h.first, name);
  }));
}

PrinterSimulator::PrinterSimulator() : PrinterSimulator(Options{}) {}

PrinterSimulator::PrinterSimulator(Options options) : options_(std::move(options)) {
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listener_ < 0) throw std::runtime_error("printer simulator: no socket");
  int yes = 1;
  ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  socklen_t length = sizeof addr;
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      ::listen(listener_, 64) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &length) != 0) {
    ::close(listener_);
    throw std::runtime_error("printer simulator: cannot listen on the loopback interface");
  }
  port_ = ntohs(addr.sin_port);
  acceptor_ = std::thread([this] { acceptLoop(); });
}

PrinterSimulator::~PrinterSimulator() {
  stop_ = true;
  if (acceptor_.joinable()) acceptor_.join();
  // The acceptor has stopped: nobody adds connections any more.
  reapConnections(true);
  ::close(listener_);
}

std::string PrinterSimulator::url(std::string_view path) const {
  return "http://" + address() + std::string(path);
}

std::string PrinterSimulator::address() const { return "127.0.0.1:" + std::to_string(port_); }

std::string PrinterSimulator::answerBody() const {
  switch (options_.mode) {
    case Mode::Refusal:
      return folderListAnswer(options_.folders, "unsupported-operation");
    case Mode::NoFiles:
      return folderListAnswer({}, "ok", false);
    case Mode::EmptyFiles:
      return folderListAnswer({}, "ok", true);
    case Mode::PrefixedNames:
      return prefixedFolderListAnswer(options_.folders);
    case Mode::Custom:
      return options_.body;
    default:
      return folderListAnswer(options_.folders);
  }
}

std::vector<RecordedRequest> PrinterSimulator::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

bool PrinterSimulator::waitOrStop(milliseconds duration) const {
  const auto end = Clock::now() + duration;
  while (!stop_) {
    auto now = Clock::now();
    if (now >= end) return true;
    std::this_thread::sleep_for(std::min<Clock::duration>(kSlice, end - now));
  }
  return false;
}

void PrinterSimulator::acceptLoop() {
  while (!stop_) {
    pollfd p{listener_, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(kSlice.count())) <= 0) continue;
    int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    int yes = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    reapConnections(false);
    auto done = std::make_shared<std::atomic<bool>>(false);
    connections_.push_back({std::thread([this, fd, done] {
                              serve(fd);
                              *done = true;
                            }),
                            done});
  }
}

void PrinterSimulator::reapConnections(bool all) {
  for (auto it = connections_.begin(); it != connections_.end();) {
    if (all || *it->done) {
      if (it->thread.joinable()) it->thread.join();
      it = connections_.erase(it);
    } else {
      ++it;
    }
  }
}

namespace {

// Reads into `buffer` until `enough` says so; false on end of stream, error,
// stop or time limit.
template <class Enough>
bool readUntil(int fd, std::string& buffer, const std::atomic<bool>& stop, std::size_t cap,
               Enough enough) {
  const auto end = Clock::now() + kReadLimit;
  char chunk[16 * 1024];
  while (!enough()) {
    if (stop || Clock::now() >= end || buffer.size() > cap) return false;
    pollfd p{fd, POLLIN, 0};
    int ready = ::poll(&p, 1, static_cast<int>(kSlice.count()));
    if (ready < 0 && errno != EINTR) return false;
    if (ready <= 0) continue;
    ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) return false;
    buffer.append(chunk, static_cast<std::size_t>(n));
  }
  return true;
}

bool sendAll(int fd, std::string_view data, const std::atomic<bool>& stop) {
  const auto end = Clock::now() + kWriteLimit;
  while (!data.empty()) {
    if (stop || Clock::now() >= end) return false;
    pollfd p{fd, POLLOUT, 0};
    int ready = ::poll(&p, 1, static_cast<int>(kSlice.count()));
    if (ready < 0 && errno != EINTR) return false;
    if (ready <= 0) continue;
    if (p.revents & (POLLERR | POLLHUP)) return false;
    ssize_t n = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

std::string statusLine(int status) {
  return "HTTP/1.1 " + std::to_string(status) + " " + reasonPhrase(status) + "\r\n";
}

std::string responseHead(int status, std::optional<std::size_t> length,
                         std::string_view extra = {}) {
  std::string head = statusLine(status) + "Content-Type: text/xml; charset=utf-8\r\n";
  if (length) {
    head += "Content-Length: " + std::to_string(*length) + "\r\n";
  } else {
    head += "Transfer-Encoding: chunked\r\n";
  }
  head += extra;
  head += "Connection: close\r\n\r\n";
  return head;
}

std::string chunk(std::string_view data) {
  char size[32];
  std::snprintf(size, sizeof size, "%zx\r\n", data.size());
  return size + std::string(data) + "\r\n";
}

}  // namespace

void PrinterSimulator::serve(int rawFd) {
  Socket socket(rawFd);
  const int fd = socket.get();
  std::string buffer;
  std::size_t headEnd = std::string::npos;
  if (!readUntil(fd, buffer, stop_, kMaxHeaderBytes, [&] {
        headEnd = buffer.find("\r\n\r\n");
        return headEnd != std::string::npos;
      })) {
    return;
  }

  RecordedRequest request;
  std::string_view head(buffer.data(), headEnd);
  std::size_t lineEnd = head.find("\r\n");
  std::string_view requestLine = head.substr(0, lineEnd);
  std::size_t sp1 = requestLine.find(' ');
  std::size_t sp2 = requestLine.rfind(' ');
  if (sp1 == std::string_view::npos || sp2 == sp1) return;
  request.method = requestLine.substr(0, sp1);
  request.target = requestLine.substr(sp1 + 1, sp2 - sp1 - 1);
  request.version = requestLine.substr(sp2 + 1);
  while (lineEnd != std::string_view::npos && lineEnd < head.size()) {
    std::size_t start = lineEnd + 2;
    lineEnd = head.find("\r\n", start);
    std::string_view line = head.substr(
        start, lineEnd == std::string_view::npos ? std::string_view::npos : lineEnd - start);
    std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    request.headers.emplace_back(std::string(line.substr(0, colon)), trim(line.substr(colon + 1)));
  }

  std::size_t length = 0;
  if (auto value = request.header("Content-Length")) {
    length = std::strtoull(value->c_str(), nullptr, 10);
    if (length > kMaxBodyBytes) return;
  }
  if (auto expect = request.header("Expect");
      expect && equalsIgnoringCase(*expect, "100-continue")) {
    if (!sendAll(fd, "HTTP/1.1 100 Continue\r\n\r\n", stop_)) return;
  }
  const std::size_t bodyStart = headEnd + 4;
  if (!readUntil(fd, buffer, stop_, kMaxBodyBytes + kMaxHeaderBytes,
                 [&] { return buffer.size() >= bodyStart + length; })) {
    return;
  }
  request.body = buffer.substr(bodyStart, length);
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
  }
  if (options_.delay.count() > 0 && !waitOrStop(options_.delay)) return;
  answer(fd, request);
  ::shutdown(fd, SHUT_WR);
  // Let the client read everything before the socket goes away.
  std::string rest;
  readUntil(fd, rest, stop_, kMaxHeaderBytes, [] { return false; });
}

void PrinterSimulator::answer(int fd, const RecordedRequest& request) {
  const Options& o = options_;
  const std::string body = answerBody();
  switch (o.mode) {
    case Mode::ServerError: {
      const std::string fault = envelope(
          "    <s:Fault><faultcode>s:Server</faultcode><faultstring>internal error</faultstring>"
          "</s:Fault>\n");
      sendAll(fd, responseHead(500, fault.size()) + fault, stop_);
      return;
    }
    case Mode::Custom:
      sendAll(fd, responseHead(o.status, body.size()) + body, stop_);
      return;
    case Mode::Redirect:
      if (request.target == kServicePath) {
        const std::string moved = "moved";
        std::string location = o.redirectLocation.empty() ? url(kMovedPath) : o.redirectLocation;
        if (auto at = location.find("{port}"); at != std::string::npos)
          location.replace(at, 6, std::to_string(port_));
        const std::string field =
            location == "none" ? std::string() : "Location: " + location + "\r\n";
        sendAll(fd, responseHead(o.redirectStatus, moved.size(), field) + moved, stop_);
      } else {
        sendAll(fd, responseHead(200, body.size()) + body, stop_);
      }
      return;
    case Mode::Stall:
      waitOrStop(kStallLimit);
      return;
    case Mode::Pieces: {
      const std::size_t count = static_cast<std::size_t>(std::max(1, o.pieces));
      const std::size_t size = (body.size() + count - 1) / count;
      if (!sendAll(fd, responseHead(200, o.chunked ? std::nullopt : std::optional(body.size())),
                   stop_)) {
        return;
      }
      for (std::size_t at = 0; at < body.size(); at += size) {
        if (at > 0 && !waitOrStop(o.pause)) return;
        std::string_view piece = std::string_view(body).substr(at, size);
        if (!sendAll(fd, o.chunked ? chunk(piece) : std::string(piece), stop_)) return;
      }
      if (o.chunked) sendAll(fd, "0\r\n\r\n", stop_);
      return;
    }
    case Mode::SlowDrip: {
      if (!sendAll(fd, responseHead(200, body.size()), stop_)) return;
      const std::size_t step = std::max<std::size_t>(1, o.dripBytes);
      for (std::size_t at = 0; at < body.size(); at += step) {
        if (at > 0 && !waitOrStop(o.pause)) return;
        if (!sendAll(fd, std::string_view(body).substr(at, step), stop_)) return;
      }
      return;
    }
    case Mode::CloseMidBody:
      sendAll(fd, responseHead(200, body.size()) + body.substr(0, body.size() / 2), stop_);
      return;
    case Mode::Oversized: {
      const std::string filler(64 * 1024, ' ');
      if (!sendAll(
              fd,
              responseHead(200, o.declareLength ? std::optional(o.oversizedBytes) : std::nullopt),
              stop_)) {
        return;
      }
      for (std::size_t sent = 0; sent < o.oversizedBytes; sent += filler.size()) {
        std::string_view piece =
            std::string_view(filler).substr(0, std::min(filler.size(), o.oversizedBytes - sent));
        if (!sendAll(fd, o.declareLength ? std::string(piece) : chunk(piece), stop_)) return;
      }
      if (!o.declareLength) sendAll(fd, "0\r\n\r\n", stop_);
      return;
    }
    default:
      sendAll(fd, responseHead(200, body.size()) + body, stop_);
      return;
  }
}

}  // namespace jc::test
