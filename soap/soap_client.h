// One SOAP request over HTTP to the printer's web service, waited for on the
// calling thread in a nested turn of the host's run loop, which serves the
// transfer's sockets and time-outs along with the host's own events.
#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "soap/folder_list_outcome.h"
#include "soap/poll_run_loop.h"  // IdleRunLoop, for callers without a loop of their own
#include "soap/run_loop.h"

namespace jc {

class SOAPClientCallback {
 public:
  virtual ~SOAPClientCallback() = default;
  // Told once when the exchange failed or timed out.
  virtual void recieveEndCallback() = 0;
};

struct SoapClientLimits {
  std::chrono::milliseconds timeout{20000};  // counted from the start of sendMessage
  std::chrono::seconds requestTimeout{60};   // the request's own time-out interval
  std::size_t maxResponseBytes = 16u * 1024u * 1024u;
};

// "vwxyz.xml" in a folder of the user's own: "$XDG_RUNTIME_DIR/jobcontrol",
// else "jobcontrol-<uid>" in "$TMPDIR", else in "/tmp". The folder is made
// (mode 0700) when missing; an answer is stored only while it is a directory
// of this user's with mode 0700, never through a link.
std::filesystem::path responseFilePath();

class KorvelPrintPdeVx418JCSOAPClient {
 public:
  enum State : int { kRunning = 0, kFinished = 1, kTimedOut = 2, kFailed = 3 };
  enum class Outcome { NotSent, Success, Failed, TimedOut };

  // A client for the service address (for example
  // "http://192.0.2.7/korvel-mfp-srv"), or null when the text is not a usable
  // http URL.
  static std::unique_ptr<KorvelPrintPdeVx418JCSOAPClient> initWithServerName(
      const std::string& address, SOAPClientCallback* context, RunLoop& runLoop,
      std::filesystem::path responseFile = responseFilePath(), SoapClientLimits limits = {});
  ~KorvelPrintPdeVx418JCSOAPClient();

  // Posts `body` and returns when the exchange has ended. On success the body
  // of the answer replaces the response file; on failure or time-out the
  // context is told once. An HTTP status outside 200-299 and an answer over
  // the size limit are failures.
  Outcome sendMessage(const std::vector<unsigned char>& body);

  // kRunning until an exchange has ended, then how the last one ended:
  // kFinished for an answer put in place, kTimedOut, or kFailed (an exchange
  // that could not start included).
  int finished() const;
  // Why the last exchange failed, in plain words; none after a success.
  const std::optional<FolderListOutcome>& failure() const { return failure_; }

 private:
  KorvelPrintPdeVx418JCSOAPClient() = default;
  std::string url_;
  SOAPClientCallback* context_ = nullptr;
  RunLoop* runLoop_ = nullptr;
  std::filesystem::path responseFile_;
  SoapClientLimits limits_;
  std::optional<Outcome> last_;  // none while an exchange runs, and before the first
  std::optional<FolderListOutcome> failure_;
};

}  // namespace jc
