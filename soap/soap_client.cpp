#include "soap/soap_client.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "platform/diagnostic_log.h"
#include "soap/curl_handles.h"
#include "soap/curl_socket_driver.h"
#include "soap/response_file.h"

namespace jc {

namespace {

// The request's fixed header fields. libcurl adds "Content-Length" itself, in
// decimal, after these, and drops it together with the body when a redirect
// turns the POST into a GET.
constexpr const char* kSoapActionHeader = "SOAPAction: \"SoapActionDummy\"";
constexpr const char* kContentTypeHeader = "Content-Type: application/soap; charset=\"utf-8\"";
constexpr const char* kNoCacheHeaders[] = {"Cache-Control: no-cache", "Pragma: no-cache"};
// An empty value tells libcurl not to send the field at all.
constexpr const char* kNoExpectHeader = "Expect:";

constexpr long kMaxRedirects = 10;
constexpr const char* kAllowedProtocols = "http";

// Scheme, host and port of a URL, as libcurl reads it (host in lower case,
// the scheme's default port filled in); none when it is not a URL. A
// relative reference is resolved against `base`.
struct Origin {
  std::string scheme;
  std::string host;
  std::string port;
  bool operator==(const Origin&) const = default;
};

std::optional<std::string> urlPart(CURLU* url, CURLUPart which, unsigned int flags = 0) {
  char* part = nullptr;
  if (curl_url_get(url, which, &part, flags) != CURLUE_OK) return std::nullopt;
  CurlString owned(part);
  return std::string(owned.get());
}

std::optional<Origin> originOf(std::string_view reference, const std::string& base) {
  CurlUrl url(curl_url());
  const std::string text(reference);
  if (!url || curl_url_set(url.get(), CURLUPART_URL, base.c_str(), 0) != CURLUE_OK ||
      curl_url_set(url.get(), CURLUPART_URL, text.c_str(), CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK) {
    return std::nullopt;
  }
  auto scheme = urlPart(url.get(), CURLUPART_SCHEME);
  auto host = urlPart(url.get(), CURLUPART_HOST);
  auto port = urlPart(url.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT);
  if (!scheme || !host || !port) return std::nullopt;
  std::transform(host->begin(), host->end(), host->begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return Origin{*scheme, *host, *port};
}

// What the transfer callbacks share with the waiting loop.
struct Transfer {
  CURL* easy = nullptr;
  Origin origin;  // where the request went first; redirects may not leave it
  std::string body;
  std::size_t limit = 0;
  bool tooLarge = false;
  bool redirectedElsewhere = false;
  long status = 0;  // of the response whose header fields are arriving
};

std::size_t onBody(char* data, std::size_t size, std::size_t count, void* user) {
  auto* transfer = static_cast<Transfer*>(user);
  const std::size_t length = size * count;
  if (length > transfer->limit - std::min(transfer->limit, transfer->body.size())) {
    transfer->tooLarge = true;
    return 0;  // anything short of `length` aborts the transfer
  }
  transfer->body.append(data, length);
  return length;
}

// The status code of an HTTP status line ("HTTP/1.1 302 Found"), or 0.
long statusOf(std::string_view line) {
  const std::size_t space = line.find(' ');
  if (space == std::string_view::npos || line.size() < space + 4) return 0;
  long status = 0;
  for (char c : line.substr(space + 1, 3)) {
    if (c < '0' || c > '9') return 0;
    status = status * 10 + (c - '0');
  }
  return status;
}

// The value of the header line when it is the field `name` (compared without
// case), blanks and line end trimmed; none otherwise.
std::optional<std::string_view> fieldValue(std::string_view line, std::string_view name) {
  if (line.size() <= name.size() || line[name.size()] != ':') return std::nullopt;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(line[i])) !=
        std::tolower(static_cast<unsigned char>(name[i])))
      return std::nullopt;
  }
  std::string_view value = line.substr(name.size() + 1);
  while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
  while (!value.empty() && std::isspace(static_cast<unsigned char>(value.back())))
    value.remove_suffix(1);
  return value;
}

// A redirect that leaves the printer's scheme, host and port is not followed:
// the transfer is stopped at the redirecting answer's Location field.
bool redirectLeavesOrigin(Transfer& transfer, std::string_view location) {
  char* current = nullptr;
  if (curl_easy_getinfo(transfer.easy, CURLINFO_EFFECTIVE_URL, &current) != CURLE_OK || !current)
    return true;
  return originOf(location, current) != transfer.origin;
}

// Every response header starts with its status line; a new one (after a
// redirect or an interim answer) discards whatever body came before it.
std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* user) {
  auto* transfer = static_cast<Transfer*>(user);
  const std::size_t length = size * count;
  const std::string_view line(data, length);
  if (line.starts_with("HTTP/")) {
    transfer->body.clear();
    transfer->status = statusOf(line);
    return length;
  }
  if (transfer->status >= 300 && transfer->status <= 399) {
    if (auto location = fieldValue(line, "Location");
        location && redirectLeavesOrigin(*transfer, *location)) {
      transfer->redirectedElsewhere = true;
      return 0;  // anything short of `length` aborts the transfer
    }
  }
  return length;
}

// libcurl reads "http:///path" as a URL whose host is "path"; an empty
// authority in the text itself means there is no host.
bool hasAuthority(std::string_view address) {
  const std::size_t separator = address.find("://");
  if (separator == std::string_view::npos) return false;
  const std::string_view rest = address.substr(separator + 3);
  return !rest.empty() && rest.find_first_of("/?#") != 0;
}

// Why a transfer that ended without a usable answer failed.
FolderListOutcome describeFailure(const Transfer& transfer, std::optional<CURLcode> result,
                                  long status, const char* errorText) {
  if (transfer.redirectedElsewhere) return redirectedElsewhere(transfer.status);
  if (transfer.tooLarge || result == CURLE_FILESIZE_EXCEEDED) return answerTooLarge(transfer.limit);
  if (!result) return noAnswer("the transfer could not be run");
  if (*result != CURLE_OK) return noAnswer(*errorText ? errorText : curl_easy_strerror(*result));
  return httpStatus(status);
}

template <class T>
bool setOption(CURL* easy, CURLoption option, T value) {
  return curl_easy_setopt(easy, option, value) == CURLE_OK;
}

// The request's headers: the SOAP action, the content type, no caching, no
// "Expect: 100-continue".
bool appendRequestHeaders(CurlSlist& headers) {
  bool ready =
      appendHeader(headers, kSoapActionHeader) && appendHeader(headers, kContentTypeHeader);
  for (const char* line : kNoCacheHeaders) ready = ready && appendHeader(headers, line);
  return ready && appendHeader(headers, kNoExpectHeader);
}

// The transfer's options: the POST of `body` to `url`, within the limits,
// redirects only over the allowed protocols, the answer into `transfer`.
bool configureTransfer(CURL* e, curl_slist* headers, const std::string& url,
                       const std::vector<unsigned char>& body, const SoapClientLimits& limits,
                       Transfer& transfer, char* errorText) {
  static const char kEmpty[] = "";
  const char* bodyBytes = body.empty() ? kEmpty : reinterpret_cast<const char*>(body.data());
  const long requestTimeoutMs =
      static_cast<long>(std::chrono::milliseconds(limits.requestTimeout).count());
  return setOption(e, CURLOPT_URL, url.c_str()) &&
         setOption(e, CURLOPT_PROTOCOLS_STR, kAllowedProtocols) &&
         setOption(e, CURLOPT_REDIR_PROTOCOLS_STR, kAllowedProtocols) &&
         setOption(e, CURLOPT_FOLLOWLOCATION, 1L) &&
         setOption(e, CURLOPT_MAXREDIRS, kMaxRedirects) && setOption(e, CURLOPT_POST, 1L) &&
         setOption(e, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size())) &&
         setOption(e, CURLOPT_POSTFIELDS, bodyBytes) && setOption(e, CURLOPT_HTTPHEADER, headers) &&
         setOption(e, CURLOPT_TIMEOUT_MS, requestTimeoutMs) && setOption(e, CURLOPT_NOSIGNAL, 1L) &&
         setOption(e, CURLOPT_MAXFILESIZE_LARGE,
                   static_cast<curl_off_t>(limits.maxResponseBytes)) &&
         setOption(e, CURLOPT_WRITEFUNCTION, &onBody) &&
         setOption(e, CURLOPT_WRITEDATA, static_cast<void*>(&transfer)) &&
         setOption(e, CURLOPT_HEADERFUNCTION, &onHeader) &&
         setOption(e, CURLOPT_HEADERDATA, static_cast<void*>(&transfer)) &&
         setOption(e, CURLOPT_ERRORBUFFER, errorText);
}

using Outcome = KorvelPrintPdeVx418JCSOAPClient::Outcome;

struct ExchangeEnd {
  Outcome outcome = Outcome::Failed;
  std::optional<FolderListOutcome> failure;
};

// How the transfer ended, before its answer is put in place.
enum class TransferEnd { Delivered, TimedOut, Failed };

// What an exchange that ran came to: the answer put in place, or why not.
ExchangeEnd endOf(TransferEnd finished, const Transfer& transfer, std::optional<CURLcode> result,
                  long status, const char* errorText, const std::filesystem::path& responseFile,
                  std::chrono::milliseconds timeout) {
  ExchangeEnd end;
  if (finished == TransferEnd::Delivered) {
    // An answer that could not be put in place would leave the caller reading
    // an older one: that is a failed exchange too.
    end.outcome =
        writeResponseFile(responseFile, transfer.body) ? Outcome::Success : Outcome::Failed;
    if (end.outcome != Outcome::Success) end.failure = answerNotKept();
  } else if (finished == TransferEnd::TimedOut) {
    end.outcome = Outcome::TimedOut;
    end.failure = noAnswerWithin(timeout);
  } else {
    end.failure = describeFailure(transfer, result, status, errorText);
  }
  return end;
}

// What the transfer came to on the wire.
struct TransferRun {
  TransferEnd end = TransferEnd::Failed;
  std::optional<CURLcode> result;
  long status = 0;
};

// Waits on the calling thread: the host's run loop serves libcurl's sockets
// and time-outs along with its own events, and stops as soon as the transfer
// ends or the time is up. None when the transfer could not start.
std::optional<TransferRun> runTransfer(CURLM* multi, RunLoop& runLoop,
                                       std::chrono::steady_clock::time_point deadline,
                                       const Transfer& transfer) {
  TransferRun run;
  CurlSocketDriver driver(multi, runLoop, deadline);
  const CurlSocketDriver::End end = driver.run(transfer.easy);
  if (end == CurlSocketDriver::End::NotStarted) return std::nullopt;
  run.result = driver.result();
  if (end == CurlSocketDriver::End::TimedOut) {
    run.end = TransferEnd::TimedOut;
  } else if (end == CurlSocketDriver::End::Done) {
    curl_easy_getinfo(transfer.easy, CURLINFO_RESPONSE_CODE, &run.status);
    if (*run.result == CURLE_OK && !transfer.tooLarge && run.status >= 200 && run.status <= 299)
      run.end = TransferEnd::Delivered;
  }
  // Cancels the transfer when it is still under way.
  curl_multi_remove_handle(multi, transfer.easy);
  return run;
}

}  // namespace

void ensureCurlInitialised() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::unique_ptr<KorvelPrintPdeVx418JCSOAPClient>
KorvelPrintPdeVx418JCSOAPClient::initWithServerName(const std::string& address,
                                                    SOAPClientCallback* context, RunLoop& runLoop,
                                                    std::filesystem::path responseFile,
                                                    SoapClientLimits limits) {
  ensureCurlInitialised();
  if (!hasAuthority(address)) return nullptr;
  CurlUrl parsed(curl_url());
  if (!parsed || curl_url_set(parsed.get(), CURLUPART_URL, address.c_str(), 0) != CURLUE_OK) {
    return nullptr;
  }
  char* part = nullptr;
  if (curl_url_get(parsed.get(), CURLUPART_SCHEME, &part, 0) != CURLUE_OK) return nullptr;
  CurlString scheme(part);
  if (std::string_view(scheme.get()) != "http") return nullptr;
  part = nullptr;
  if (curl_url_get(parsed.get(), CURLUPART_HOST, &part, 0) != CURLUE_OK) return nullptr;
  CurlString host(part);
  if (!host || !*host) return nullptr;
  part = nullptr;
  if (curl_url_get(parsed.get(), CURLUPART_URL, &part, 0) != CURLUE_OK) return nullptr;
  CurlString normalised(part);

  std::unique_ptr<KorvelPrintPdeVx418JCSOAPClient> client(new KorvelPrintPdeVx418JCSOAPClient());
  client->url_ = normalised.get();
  client->context_ = context;
  client->runLoop_ = &runLoop;
  client->responseFile_ = std::move(responseFile);
  client->limits_ = limits;
  return client;
}

KorvelPrintPdeVx418JCSOAPClient::~KorvelPrintPdeVx418JCSOAPClient() = default;

int KorvelPrintPdeVx418JCSOAPClient::finished() const {
  if (!last_) return kRunning;
  switch (*last_) {
    case Outcome::Success:
      return kFinished;
    case Outcome::TimedOut:
      return kTimedOut;
    case Outcome::NotSent:
    case Outcome::Failed:
      break;
  }
  return kFailed;
}

KorvelPrintPdeVx418JCSOAPClient::Outcome KorvelPrintPdeVx418JCSOAPClient::sendMessage(
    const std::vector<unsigned char>& body) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + limits_.timeout;
  last_.reset();
  failure_.reset();
  ensureCurlInitialised();

  Transfer transfer;
  transfer.limit = limits_.maxResponseBytes;
  transfer.origin = originOf(url_, url_).value_or(Origin{});

  // Declared so that the header list outlives the easy handle, and the easy
  // handle the multi handle.
  CurlSlist headers;
  CurlEasy easy(curl_easy_init());
  CurlMulti multi(curl_multi_init());
  CURL* e = easy.get();
  transfer.easy = e;
  char errorText[CURL_ERROR_SIZE] = "";
  const bool ready = easy && multi && appendRequestHeaders(headers) &&
                     configureTransfer(e, headers.get(), url_, body, limits_, transfer, errorText);
  if (!ready) {
    pdeLog(this, "Connection fail");
    failure_ = noAnswer("the connection could not be created");
    return *(last_ = Outcome::NotSent);
  }

  const std::optional<TransferRun> run = runTransfer(multi.get(), *runLoop_, deadline, transfer);
  if (!run) {
    pdeLog(this, "Connection fail");
    failure_ = noAnswer("the connection could not be created");
    return *(last_ = Outcome::NotSent);
  }

  ExchangeEnd end = endOf(run->end, transfer, run->result, run->status, errorText, responseFile_,
                          limits_.timeout);
  failure_ = std::move(end.failure);
  last_ = end.outcome;
  if (end.outcome != Outcome::Success && context_) context_->recieveEndCallback();
  return end.outcome;
}

}  // namespace jc
