#include "hosts/common/bounded_connection.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace jc {
namespace {

using Failure = BoundedConnection::Failure;

struct Address {
  sockaddr_storage storage{};
  socklen_t length = 0;
};

struct Lookup {
  std::mutex mutex;
  std::condition_variable finished;
  bool done = false;
  std::vector<Address> addresses;
};

int millisecondsLeft(Deadline deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                        deadline - std::chrono::steady_clock::now())
                        .count();
  return static_cast<int>(std::clamp<long long>(left, 0, INT_MAX));
}

std::vector<Address> addressesOf(const std::string& host, const std::string& service) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  std::vector<Address> addresses;
  if (getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0) return addresses;
  for (const addrinfo* a = found; a; a = a->ai_next) {
    Address address;
    address.length = std::min<socklen_t>(a->ai_addrlen, sizeof address.storage);
    std::copy_n(reinterpret_cast<const char*>(a->ai_addr), address.length,
                reinterpret_cast<char*>(&address.storage));
    addresses.push_back(address);
  }
  freeaddrinfo(found);
  return addresses;
}

// The host's addresses. The name service may take as long as it likes, so
// the lookup runs on a thread of its own; one that lags past the deadline is
// left to finish alone, its answer unused.
std::pair<std::vector<Address>, std::optional<Failure>> lookUp(const std::string& host, int port,
                                                               Deadline deadline) {
  auto lookup = std::make_shared<Lookup>();
  try {
    std::thread([lookup, host, service = std::to_string(port)] {
      std::vector<Address> addresses = addressesOf(host, service);
      const std::lock_guard lock(lookup->mutex);
      lookup->addresses = std::move(addresses);
      lookup->done = true;
      lookup->finished.notify_all();
    }).detach();
  } catch (const std::system_error&) {
    return {{}, Failure::NoConnection};
  }
  std::unique_lock lock(lookup->mutex);
  if (!lookup->finished.wait_until(lock, deadline, [&lookup] { return lookup->done; }))
    return {{}, Failure::TimedOut};
  if (lookup->addresses.empty()) return {{}, Failure::NoConnection};
  return {lookup->addresses, std::nullopt};
}

std::optional<Failure> pollFor(int fd, short events, Deadline deadline) {
  pollfd watched{fd, events, 0};
  while (true) {
    const int left = millisecondsLeft(deadline);
    if (left == 0) return Failure::TimedOut;
    const int ready = poll(&watched, 1, left);
    if (ready > 0) return std::nullopt;
    if (ready == 0) return Failure::TimedOut;
    if (errno != EINTR) return Failure::NoConnection;
  }
}

// A socket connected to `address`, or -1 with the reason.
std::pair<int, std::optional<Failure>> connectTo(const Address& address, Deadline deadline) {
  const int fd = socket(address.storage.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return {-1, Failure::NoConnection};
  if (connect(fd, reinterpret_cast<const sockaddr*>(&address.storage), address.length) == 0)
    return {fd, std::nullopt};
  if (errno != EINPROGRESS) {
    close(fd);
    return {-1, Failure::NoConnection};
  }
  if (auto failure = pollFor(fd, POLLOUT, deadline)) {
    close(fd);
    return {-1, failure};
  }
  int error = 0;
  socklen_t length = sizeof error;
  if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0)
    return {fd, std::nullopt};
  close(fd);
  return {-1, Failure::NoConnection};
}

bool isAddressLiteral(const std::string& host) {
  in6_addr ignored;
  return inet_pton(AF_INET, host.c_str(), &ignored) == 1 ||
         inet_pton(AF_INET6, host.c_str(), &ignored) == 1;
}

// TLS writes through the socket, where a peer that has gone raises SIGPIPE:
// held back on this thread while it writes, and taken if it came.
class SigpipeHeld {
 public:
  SigpipeHeld() {
    sigemptyset(&pipe_);
    sigaddset(&pipe_, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe_, &before_);
  }
  ~SigpipeHeld() {
    sigset_t pending;
    sigpending(&pending);
    if (sigismember(&pending, SIGPIPE) && !sigismember(&before_, SIGPIPE)) {
      const timespec now{};
      sigtimedwait(&pipe_, nullptr, &now);
    }
    pthread_sigmask(SIG_SETMASK, &before_, nullptr);
  }
  SigpipeHeld(const SigpipeHeld&) = delete;
  SigpipeHeld& operator=(const SigpipeHeld&) = delete;

 private:
  sigset_t pipe_{};
  sigset_t before_{};
};

}  // namespace

std::pair<std::unique_ptr<BoundedConnection>, std::optional<BoundedConnection::Failure>>
BoundedConnection::open(const std::string& host, int port, bool tls, Deadline deadline) {
  auto [addresses, lookupFailure] = lookUp(host, port, deadline);
  if (lookupFailure) return {nullptr, lookupFailure};
  std::optional<Failure> failure = Failure::NoConnection;
  for (const Address& address : addresses) {
    auto [fd, why] = connectTo(address, deadline);
    failure = why;
    if (fd < 0 && why == Failure::TimedOut) break;
    if (fd < 0) continue;
    std::unique_ptr<BoundedConnection> connection(new BoundedConnection(fd, deadline));
    if (tls) failure = connection->startTls(host);
    if (!failure) return {std::move(connection), std::nullopt};
    break;
  }
  return {nullptr, failure};
}

BoundedConnection::~BoundedConnection() {
  if (tls_) SSL_free(tls_);
  if (context_) SSL_CTX_free(context_);
  if (fd_ >= 0) close(fd_);
}

std::optional<Failure> BoundedConnection::waitFor(short events) {
  return pollFor(fd_, events, deadline_);
}

// Waits as OpenSSL asks after `result`; NoConnection for a TLS failure.
std::optional<Failure> BoundedConnection::waitForTls(int result) {
  switch (SSL_get_error(tls_, result)) {
    case SSL_ERROR_WANT_READ:
      return waitFor(POLLIN);
    case SSL_ERROR_WANT_WRITE:
      return waitFor(POLLOUT);
    default:
      return Failure::NoConnection;
  }
}

// Printers present certificates of their own making, which no authority
// signs: like CUPS, the exchange takes the certificate it is shown. What the
// printer answers only ever keeps a PIN back, never sends one elsewhere.
std::optional<Failure> BoundedConnection::startTls(const std::string& host) {
  context_ = SSL_CTX_new(TLS_client_method());
  if (!context_) return Failure::NoConnection;
  SSL_CTX_set_min_proto_version(context_, TLS1_2_VERSION);
  SSL_CTX_set_verify(context_, SSL_VERIFY_NONE, nullptr);
#ifdef SSL_OP_IGNORE_UNEXPECTED_EOF
  SSL_CTX_set_options(context_, SSL_OP_IGNORE_UNEXPECTED_EOF);
#endif
  tls_ = SSL_new(context_);
  if (!tls_ || SSL_set_fd(tls_, fd_) != 1) return Failure::NoConnection;
  if (!isAddressLiteral(host)) SSL_set_tlsext_host_name(tls_, host.c_str());
  const SigpipeHeld held;
  while (true) {
    const int result = SSL_connect(tls_);
    if (result == 1) return std::nullopt;
    if (auto failure = waitForTls(result)) return failure;
  }
}

std::optional<Failure> BoundedConnection::writeAll(std::string_view bytes) {
  const SigpipeHeld held;
  while (!bytes.empty()) {
    const int chunk = static_cast<int>(std::min<std::size_t>(bytes.size(), INT_MAX));
    long written = 0;
    if (tls_) {
      written = SSL_write(tls_, bytes.data(), chunk);
      if (written <= 0) {
        if (auto failure = waitForTls(static_cast<int>(written))) return failure;
        continue;
      }
    } else {
      written = send(fd_, bytes.data(), static_cast<std::size_t>(chunk), MSG_NOSIGNAL);
      if (written < 0) {
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return Failure::NoConnection;
        if (auto failure = waitFor(POLLOUT)) return failure;
        continue;
      }
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return std::nullopt;
}

// A connection the peer reset or broke ends like a closed one: whether what
// came before it is a whole answer is for the answer's framing to say.
BoundedConnection::Read BoundedConnection::readSome(char* buffer, std::size_t size) {
  const int chunk = static_cast<int>(std::min<std::size_t>(size, INT_MAX));
  while (true) {
    if (tls_) {
      const int got = SSL_read(tls_, buffer, chunk);
      if (got > 0) return {static_cast<std::size_t>(got), false, std::nullopt};
      const int error = SSL_get_error(tls_, got);
      if (error != SSL_ERROR_WANT_READ && error != SSL_ERROR_WANT_WRITE) return {0, true, {}};
      if (auto failure = waitForTls(got)) return {0, false, failure};
      continue;
    }
    const long got = recv(fd_, buffer, static_cast<std::size_t>(chunk), 0);
    if (got > 0) return {static_cast<std::size_t>(got), false, std::nullopt};
    if (got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
      return {0, true, {}};
    if (auto failure = waitFor(POLLIN)) return {0, false, failure};
  }
}

}  // namespace jc
