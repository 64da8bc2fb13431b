// A TCP connection (TLS over it where asked) whose every step, from looking
// up the host name to the last byte read, ends by one fixed point in time.
#pragma once

#include <openssl/ssl.h>

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace jc {

using Deadline = std::chrono::steady_clock::time_point;

class BoundedConnection {
 public:
  enum class Failure { NoConnection, TimedOut };

  struct Read {
    std::size_t bytes = 0;  // 0 with `closed` at the end of the connection
    bool closed = false;
    std::optional<Failure> failure;
  };

  // Connects to `host` on `port` (every address it has, in turn), with TLS
  // when `tls`; none with the reason when no connection was made in time.
  static std::pair<std::unique_ptr<BoundedConnection>, std::optional<Failure>> open(
      const std::string& host, int port, bool tls, Deadline deadline);
  ~BoundedConnection();
  BoundedConnection(const BoundedConnection&) = delete;
  BoundedConnection& operator=(const BoundedConnection&) = delete;

  std::optional<Failure> writeAll(std::string_view bytes);
  Read readSome(char* buffer, std::size_t size);

 private:
  BoundedConnection(int fd, Deadline deadline) : fd_(fd), deadline_(deadline) {}
  std::optional<Failure> startTls(const std::string& host);
  std::optional<Failure> waitFor(short events);
  std::optional<Failure> waitForTls(int result);

  int fd_ = -1;
  Deadline deadline_;
  SSL_CTX* context_ = nullptr;
  SSL* tls_ = nullptr;
};

}  // namespace jc
