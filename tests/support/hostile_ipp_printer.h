// An IPP printer on the loopback interface that answers Get-Printer-Attributes
// in one chosen, mostly hostile, way, and records the requests it was sent.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace jc::test {

class HostileIppPrinter {
 public:
  enum class Mode {
    Good,             // a printer that takes a digit PIN in clear or hashed, and accounting
    Redirect,         // 302 to its own address
    HugeHeader,       // a 1 MiB header line before the good answer
    Drip,             // the good answer, one byte every 3 seconds
    EndlessChunks,    // 200 with chunks that never end
    EndlessContinue,  // "100 Continue" without end
    DeepNesting,      // collections nested 95,000 deep (just under 1 MiB)
    Unauthorized,     // 401 asking for Basic authentication
    WrongTypes,       // job-password-encryption-supported as a name, not a keyword
  };

  explicit HostileIppPrinter(Mode mode);
  ~HostileIppPrinter();
  HostileIppPrinter(const HostileIppPrinter&) = delete;
  HostileIppPrinter& operator=(const HostileIppPrinter&) = delete;

  // "ipp://127.0.0.1:<port>/ipp/print"
  std::string uri() const;
  // The head (request line and fields) of every request received.
  std::vector<std::string> requestHeads() const;

 private:
  void serve();
  void answer(int fd);
  bool sendAll(int fd, const std::string& bytes) const;
  bool pause(int milliseconds) const;

  Mode mode_;
  int listener_ = -1;
  std::uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> heads_;
  std::thread server_;
};

// A port on 127.0.0.1 that nobody listens on right now.
int unusedLoopbackPort();

}  // namespace jc::test
