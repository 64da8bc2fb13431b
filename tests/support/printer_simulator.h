// A printer's folder-list web service on the loopback interface, for tests
// and benchmarks: a small threaded HTTP/1.1 server on 127.0.0.1 that answers
// every request in a chosen way and records what it was sent.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace jc::test {

struct SimulatedFolder {
  std::string name;
  bool password = false;
  bool dir = false;
};

// The answer the printer's service gives: a SOAP envelope whose body holds an
// unprefixed "listfiles-response" with the result code and, unless
// `withFiles` is false, a "files" element listing `folders`.
std::string folderListAnswer(const std::vector<SimulatedFolder>& folders,
                             std::string_view resultCode = "ok", bool withFiles = true);
// The same shape with every child of the response element prefixed ("k:files").
std::string prefixedFolderListAnswer(const std::vector<SimulatedFolder>& folders);
// `count` folders named "Folder 000001"..., every third one protected.
std::vector<SimulatedFolder> numberedFolders(std::size_t count);

struct RecordedRequest {
  std::string method;
  std::string target;
  std::string version;
  std::vector<std::pair<std::string, std::string>> headers;  // in the order received
  std::string body;

  // The value of the first field called `name` (compared without case), or none.
  std::optional<std::string> header(std::string_view name) const;
  std::size_t headerCount(std::string_view name) const;
};

class PrinterSimulator {
 public:
  static constexpr std::string_view kServicePath = "/korvel-mfp-srv";
  static constexpr std::string_view kMovedPath = "/korvel-mfp-srv/moved";

  enum class Mode {
    FolderList,     // 200 with the folder list
    Refusal,        // 200, result code "unsupported-operation" (and a list that must be ignored)
    NoFiles,        // 200, result code "ok", no "files"
    EmptyFiles,     // 200, result code "ok", an empty "files"
    PrefixedNames,  // 200, the response's children carry a namespace prefix
    ServerError,    // 500 with a SOAP fault as its body
    Pieces,         // 200 with the folder list in `pieces` writes, `pause` apart
    Redirect,       // `redirectStatus` from kServicePath to kMovedPath, which answers the list
    Stall,          // reads the request and never answers
    SlowDrip,       // the folder list `dripBytes` at a time, `pause` apart
    CloseMidBody,   // announces the whole list, sends half of it and closes
    Oversized,      // a body of `oversizedBytes`
    Custom,         // `status` with `body`
  };

  struct Options {
    Mode mode = Mode::FolderList;
    std::vector<SimulatedFolder> folders = {
        {"Projects", false, true}, {"Payroll", true, true}, {"Scans", false, false}};
    std::string body;  // Custom
    int status = 200;  // Custom
    int redirectStatus = 302;
    // Redirect: the Location field, "{port}" standing for this server's port;
    // empty gives the moved path's full URL here, "none" sends no Location.
    std::string redirectLocation;
    int pieces = 4;
    bool chunked = true;  // Pieces: chunked coding, else one Content-Length and several writes
    std::chrono::milliseconds pause{50};
    std::size_t dripBytes = 16;
    std::chrono::milliseconds delay{0};  // before any answer
    std::size_t oversizedBytes = 17u * 1024u * 1024u;
    bool declareLength = true;  // Oversized: Content-Length, else chunked
  };

  PrinterSimulator();
  explicit PrinterSimulator(Options options);
  ~PrinterSimulator();
  PrinterSimulator(const PrinterSimulator&) = delete;
  PrinterSimulator& operator=(const PrinterSimulator&) = delete;

  std::uint16_t port() const { return port_; }
  // "http://127.0.0.1:<port>" followed by `path`.
  std::string url(std::string_view path = kServicePath) const;
  // "127.0.0.1:<port>", as typed into the panel's address field.
  std::string address() const;
  // The body that the list-answering modes send.
  std::string answerBody() const;
  std::vector<RecordedRequest> requests() const;

 private:
  void acceptLoop();
  void serve(int fd);
  void reapConnections(bool all);
  void answer(int fd, const RecordedRequest& request);
  bool waitOrStop(std::chrono::milliseconds duration) const;

  Options options_;
  int listener_ = -1;
  std::uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<RecordedRequest> requests_;
  struct Connection {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
  };
  std::list<Connection> connections_;  // touched by the acceptor thread only
  std::thread acceptor_;
};

}  // namespace jc::test
