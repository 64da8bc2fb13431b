#include "soap/soap_client.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "soap/folder_list_parser.h"
#include "support/file_text.h"
#include "support/printer_simulator.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace jc {
namespace {

using test::PrinterSimulator;
using test::readFileIfAny;
using test::TempDir;
using test::writeFile;
using Mode = PrinterSimulator::Mode;
using Outcome = KorvelPrintPdeVx418JCSOAPClient::Outcome;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

const std::string kRequest =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body>"
    "<listfiles-request><path>/</path></listfiles-request></s:Body></s:Envelope>\n";

std::vector<unsigned char> bytes(std::string_view text) { return {text.begin(), text.end()}; }

class CountingCallback : public SOAPClientCallback {
 public:
  void recieveEndCallback() override { ++calls; }
  int calls = 0;
};

// A poll loop that also wakes every `tick`, as a host with a progress
// animation does, and notes each of its turns.
class RecordingRunLoop : public PollRunLoop {
 public:
  explicit RecordingRunLoop(milliseconds tick) : PollRunLoop(tick) {}
  std::vector<Clock::time_point> turns;

 protected:
  void onWake() override { turns.push_back(Clock::now()); }
};

class SoapClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"}) unsetenv(name);
    responseFile_ = dir_.path() / "vwxyz.xml";
  }

  struct Exchange {
    Outcome outcome;
    int finished;
    int callbacks;
    Clock::duration elapsed;
    std::vector<Clock::time_point> turns;
    Clock::time_point start;
  };

  Exchange send(const std::string& url, std::string_view body = kRequest,
                SoapClientLimits limits = {}, milliseconds tick = milliseconds(1000)) {
    CountingCallback callback;
    RecordingRunLoop loop(tick);
    auto client = KorvelPrintPdeVx418JCSOAPClient::initWithServerName(url, &callback, loop,
                                                                      responseFile_, limits);
    EXPECT_NE(client, nullptr);
    if (!client) return {Outcome::NotSent, -1, 0, {}, {}, {}};
    const auto start = Clock::now();
    const Outcome outcome = client->sendMessage(bytes(body));
    return {outcome, client->finished(), callback.calls, Clock::now() - start, loop.turns, start};
  }

  void plantEarlierAnswer() { writeFile(responseFile_, "earlier"); }

  TempDir dir_;
  std::filesystem::path responseFile_;
};

TEST_F(SoapClientTest, PostsTheBodyWithTheFixedHeaderFields) {
  for (const std::string& body : {kRequest, std::string(), std::string(2u << 20, 'x')}) {
    SCOPED_TRACE("body of " + std::to_string(body.size()) + " bytes");
    PrinterSimulator printer;
    const Exchange exchange = send(printer.url(), body);
    EXPECT_EQ(exchange.outcome, Outcome::Success);
    EXPECT_EQ(exchange.finished, KorvelPrintPdeVx418JCSOAPClient::kFinished);
    EXPECT_EQ(exchange.callbacks, 0);

    const auto requests = printer.requests();
    ASSERT_EQ(requests.size(), 1u);
    const auto& request = requests[0];
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.target, "/korvel-mfp-srv");
    EXPECT_EQ(request.header("SOAPAction"), "\"SoapActionDummy\"");
    EXPECT_EQ(request.header("SOAPAction")->size(), 17u);
    EXPECT_EQ(request.header("Content-Type"), "application/soap; charset=\"utf-8\"");
    EXPECT_EQ(request.header("Content-Type")->size(), 33u);
    EXPECT_EQ(request.header("Content-Length"), std::to_string(body.size()));
    EXPECT_EQ(request.header("Cache-Control"), "no-cache");
    EXPECT_EQ(request.header("Pragma"), "no-cache");
    for (const char* single : {"SOAPAction", "Content-Type", "Content-Length"}) {
      EXPECT_EQ(request.headerCount(single), 1u) << single;
    }
    EXPECT_EQ(request.headerCount("Expect"), 0u);
    EXPECT_EQ(request.headerCount("Transfer-Encoding"), 0u);
    EXPECT_EQ(request.body, body);
    EXPECT_EQ(readFileIfAny(responseFile_), printer.answerBody());
  }
}

TEST_F(SoapClientTest, SuccessfulAnswerReplacesTheResponseFileForTheParser) {
  PrinterSimulator printer;
  plantEarlierAnswer();
  ASSERT_EQ(send(printer.url()).outcome, Outcome::Success);
  struct stat info {};
  ASSERT_EQ(::stat(responseFile_.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  const auto parse = parseFolderListFile(responseFile_);
  EXPECT_TRUE(parse.ok);
  EXPECT_EQ(parse.folders, (FolderList{{u"Projects", false, true, false},
                                       {u"Payroll", true, true, false},
                                       {u"Scans", false, false, false}}));
  // No stray temporary files beside it.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 1);
}

TEST_F(SoapClientTest, AnswerInPiecesIsTheirExactConcatenation) {
  for (bool chunked : {true, false}) {
    SCOPED_TRACE(chunked ? "chunked" : "several writes");
    PrinterSimulator::Options options;
    options.mode = Mode::Pieces;
    options.folders = test::numberedFolders(40);
    options.pieces = 5;
    options.chunked = chunked;
    PrinterSimulator printer(options);
    EXPECT_EQ(send(printer.url()).outcome, Outcome::Success);
    EXPECT_EQ(readFileIfAny(responseFile_), printer.answerBody());
  }
}

TEST_F(SoapClientTest, FollowsRedirectsAsABrowserDoes) {
  struct Case {
    int status;
    const char* method;
    bool bodyResent;
  };
  for (const Case& c : {Case{302, "GET", false}, Case{303, "GET", false}, Case{307, "POST", true},
                        Case{308, "POST", true}}) {
    SCOPED_TRACE(c.status);
    PrinterSimulator::Options options;
    options.mode = Mode::Redirect;
    options.redirectStatus = c.status;
    PrinterSimulator printer(options);
    const Exchange exchange = send(printer.url());
    EXPECT_EQ(exchange.outcome, Outcome::Success);
    EXPECT_EQ(exchange.callbacks, 0);
    const auto requests = printer.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].target, PrinterSimulator::kMovedPath);
    EXPECT_EQ(requests[1].method, c.method);
    EXPECT_EQ(requests[1].body, c.bodyResent ? kRequest : "");
    EXPECT_EQ(requests[1].header("Content-Length"),
              c.bodyResent ? std::optional(std::to_string(kRequest.size())) : std::nullopt);
    // Only the final answer's body lands in the file.
    EXPECT_EQ(readFileIfAny(responseFile_), printer.answerBody());
  }
}

// A redirect is followed only to the same scheme, host and port; anywhere
// else the exchange fails and the other server is never asked.
TEST_F(SoapClientTest, RedirectsAreFollowedOnlyWithinTheSameOrigin) {
  PrinterSimulator elsewhere;  // would answer with its folder list
  const std::string port = std::to_string(elsewhere.port());
  struct Case {
    std::string location;  // "{port}": the redirecting printer's own port
    bool followed;
  };
  const Case cases[] = {
      {"/korvel-mfp-srv/moved", true},
      {"moved", true},
      {"http://127.0.0.1:{port}/korvel-mfp-srv/moved", true},
      {"HTTP://127.0.0.1:{port}/korvel-mfp-srv/moved", true},
      {elsewhere.url(), false},
      {"http://127.0.0.1:" + port + "/korvel-mfp-srv", false},
      {"http://localhost:{port}/korvel-mfp-srv/moved", false},
      {"http://127.0.0.2:{port}/korvel-mfp-srv/moved", false},
      {"https://127.0.0.1:{port}/korvel-mfp-srv/moved", false},
      {"//127.0.0.1:" + port + "/korvel-mfp-srv", false},
  };
  for (int status : {302, 307}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::to_string(status) + " to " + c.location);
      PrinterSimulator::Options options;
      options.mode = Mode::Redirect;
      options.redirectStatus = status;
      options.redirectLocation = c.location;
      PrinterSimulator printer(options);
      plantEarlierAnswer();
      const std::size_t askedBefore = elsewhere.requests().size();
      const Exchange exchange = send(printer.url());
      EXPECT_EQ(exchange.outcome, c.followed ? Outcome::Success : Outcome::Failed);
      EXPECT_EQ(exchange.callbacks, c.followed ? 0 : 1);
      EXPECT_EQ(elsewhere.requests().size(), askedBefore);
      EXPECT_EQ(printer.requests().size(), c.followed ? 2u : 1u);
      EXPECT_EQ(readFileIfAny(responseFile_),
                c.followed ? printer.answerBody() : std::string("earlier"));
    }
  }
}

// Only a final status from 200 to 299 delivers an answer: a redirect that is
// not followed, or any other final 3xx, is a failed exchange with that status.
TEST_F(SoapClientTest, FinalRedirectionStatusIsAFailure) {
  auto redirect = [](int status) {
    PrinterSimulator::Options options;
    options.mode = Mode::Redirect;
    options.redirectStatus = status;
    options.redirectLocation = "none";
    return options;
  };
  auto custom = [](int status) {
    PrinterSimulator::Options options;
    options.mode = Mode::Custom;
    options.status = status;
    options.body = test::folderListAnswer({{"A"}});
    return options;
  };
  struct Case {
    const char* what;
    PrinterSimulator::Options options;
    long status;
  };
  const Case cases[] = {
      {"302 without Location", redirect(302), 302}, {"301 without Location", redirect(301), 301},
      {"307 without Location", redirect(307), 307}, {"304 not modified", custom(304), 304},
      {"300 with a list", custom(300), 300},        {"399 with a list", custom(399), 399},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PrinterSimulator printer(c.options);
    plantEarlierAnswer();
    CountingCallback callback;
    IdleRunLoop loop;
    auto client = KorvelPrintPdeVx418JCSOAPClient::initWithServerName(printer.url(), &callback,
                                                                      loop, responseFile_);
    ASSERT_NE(client, nullptr);
    EXPECT_EQ(client->sendMessage(bytes(kRequest)), Outcome::Failed);
    EXPECT_EQ(callback.calls, 1);
    ASSERT_TRUE(client->failure().has_value());
    EXPECT_EQ(client->failure()->kind, FolderListOutcome::Kind::HttpStatus);
    EXPECT_EQ(client->failure()->httpStatus, c.status);
    EXPECT_EQ(printer.requests().size(), 1u);
    EXPECT_EQ(readFileIfAny(responseFile_), "earlier");
  }
}

TEST_F(SoapClientTest, FailedTransfersTellTheContextOnceAndKeepTheFile) {
  struct Case {
    const char* what;
    PrinterSimulator::Options options;
  };
  auto with = [](Mode mode, bool declareLength = true) {
    PrinterSimulator::Options options;
    options.mode = mode;
    options.declareLength = declareLength;
    return options;
  };
  PrinterSimulator::Options notFound = with(Mode::Custom);
  notFound.status = 404;
  notFound.body = test::folderListAnswer({{"A"}});
  const Case cases[] = {
      {"server error with a body", with(Mode::ServerError)},
      {"not found with a list", notFound},
      {"closed in the middle of the body", with(Mode::CloseMidBody)},
      {"oversized, announced", with(Mode::Oversized, true)},
      {"oversized, chunked", with(Mode::Oversized, false)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PrinterSimulator printer(c.options);
    plantEarlierAnswer();
    const Exchange exchange = send(printer.url());
    EXPECT_EQ(exchange.outcome, Outcome::Failed);
    EXPECT_EQ(exchange.finished, KorvelPrintPdeVx418JCSOAPClient::kFailed);
    EXPECT_EQ(exchange.callbacks, 1);
    EXPECT_EQ(readFileIfAny(responseFile_), "earlier");
  }
}

TEST_F(SoapClientTest, RefusedConnectionIsAFailedTransfer) {
  std::string url;
  { url = PrinterSimulator().url(); }  // nobody listens there any more
  const Exchange exchange = send(url);
  EXPECT_EQ(exchange.outcome, Outcome::Failed);
  EXPECT_EQ(exchange.callbacks, 1);
  EXPECT_FALSE(std::filesystem::exists(responseFile_));
}

TEST_F(SoapClientTest, AnswerThatCannotBeStoredIsAFailure) {
  PrinterSimulator printer;
  responseFile_ = dir_.path() / "missing-folder" / "vwxyz.xml";
  const Exchange exchange = send(printer.url());
  EXPECT_EQ(exchange.outcome, Outcome::Failed);
  // Not "finished": the caller would read an older answer.
  EXPECT_EQ(exchange.finished, KorvelPrintPdeVx418JCSOAPClient::kFailed);
  EXPECT_EQ(exchange.callbacks, 1);
}

TEST_F(SoapClientTest, StalledPrinterTimesOutOnce) {
  PrinterSimulator::Options options;
  options.mode = Mode::Stall;
  PrinterSimulator printer(options);
  plantEarlierAnswer();
  SoapClientLimits limits;
  limits.timeout = milliseconds(1500);
  const Exchange exchange = send(printer.url(), kRequest, limits, milliseconds(400));
  EXPECT_EQ(exchange.outcome, Outcome::TimedOut);
  EXPECT_EQ(exchange.finished, KorvelPrintPdeVx418JCSOAPClient::kTimedOut);
  EXPECT_EQ(exchange.callbacks, 1);
  EXPECT_GE(exchange.elapsed, milliseconds(1500));
  EXPECT_LT(exchange.elapsed, milliseconds(1500 + 1000));
  EXPECT_GE(exchange.turns.size(), 3u);
  EXPECT_EQ(readFileIfAny(responseFile_), "earlier");
}

TEST_F(SoapClientTest, StalledPrinterTimesOutAfterTwentySeconds) {
  PrinterSimulator::Options options;
  options.mode = Mode::Stall;
  PrinterSimulator printer(options);
  const Exchange exchange = send(printer.url());
  EXPECT_EQ(exchange.outcome, Outcome::TimedOut);
  EXPECT_EQ(exchange.callbacks, 1);
  EXPECT_GE(exchange.elapsed, std::chrono::seconds(20));
  EXPECT_LT(exchange.elapsed, std::chrono::seconds(21));
  EXPECT_FALSE(std::filesystem::exists(responseFile_));
}

// A loop without a tick of its own sleeps until a socket is ready or a
// time-out of libcurl's or the exchange's is due: a stalled printer wakes it
// a handful of times, not once per poll step.
TEST_F(SoapClientTest, WaitingLoopWakesOnlyForTheTransfer) {
  PrinterSimulator::Options options;
  options.mode = Mode::Stall;
  PrinterSimulator printer(options);
  SoapClientLimits limits;
  limits.timeout = milliseconds(1500);
  const Exchange exchange = send(printer.url(), kRequest, limits, milliseconds(0));
  EXPECT_EQ(exchange.outcome, Outcome::TimedOut);
  EXPECT_GE(exchange.elapsed, milliseconds(1500));
  EXPECT_LT(exchange.elapsed, milliseconds(1600));
  EXPECT_LT(exchange.turns.size(), 10u);
}

TEST_F(SoapClientTest, SlowDripWithinTheTimeOutSucceeds) {
  PrinterSimulator::Options options;
  options.mode = Mode::SlowDrip;
  options.dripBytes = 40;
  options.pause = milliseconds(80);
  PrinterSimulator printer(options);
  SoapClientLimits limits;
  limits.timeout = milliseconds(5000);
  const Exchange exchange = send(printer.url(), kRequest, limits);
  EXPECT_EQ(exchange.outcome, Outcome::Success);
  EXPECT_EQ(exchange.callbacks, 0);
  EXPECT_GT(exchange.elapsed, milliseconds(500));  // it did drip
  EXPECT_EQ(readFileIfAny(responseFile_), printer.answerBody());
}

TEST_F(SoapClientTest, FastAnswerEndsTheWaitAtOnce) {
  PrinterSimulator printer;
  Clock::duration total{};
  std::size_t turns = 0;
  for (int i = 0; i < 3; ++i) {
    const Exchange exchange = send(printer.url());  // one-second wait steps
    ASSERT_EQ(exchange.outcome, Outcome::Success);
    total += exchange.elapsed;
    turns += exchange.turns.size();
  }
  // Waiting for the end of a step would take three seconds at least.
  EXPECT_LT(total, milliseconds(2000));
  EXPECT_LT(turns, 60u);
}

TEST_F(SoapClientTest, HostEventsRunAtLeastOnceASecondWhileWaiting) {
  PrinterSimulator::Options options;
  options.delay = milliseconds(2600);
  PrinterSimulator printer(options);
  const Exchange exchange = send(printer.url());
  ASSERT_EQ(exchange.outcome, Outcome::Success);
  ASSERT_GE(exchange.turns.size(), 2u);
  Clock::time_point previous = exchange.start;
  Clock::duration longestGap{};
  for (const auto& turn : exchange.turns) {
    longestGap = std::max(longestGap, turn - previous);
    previous = turn;
  }
  longestGap = std::max(longestGap, exchange.start + exchange.elapsed - previous);
  EXPECT_LT(longestGap, milliseconds(1500));
}

TEST_F(SoapClientTest, PlantedLinkIsReplacedNotFollowed) {
  const auto victim = dir_.path() / "victim";
  writeFile(victim, "precious");
  std::filesystem::create_symlink(victim, responseFile_);
  PrinterSimulator printer;
  ASSERT_EQ(send(printer.url()).outcome, Outcome::Success);
  EXPECT_FALSE(std::filesystem::is_symlink(responseFile_));
  EXPECT_EQ(readFileIfAny(responseFile_), printer.answerBody());
  EXPECT_EQ(readFileIfAny(victim), "precious");
}

TEST(SoapClientAddressTest, AcceptsOnlyHttpUrlsWithAHost) {
  IdleRunLoop loop;
  struct Case {
    const char* address;
    bool usable;
  };
  for (const Case& c :
       {Case{"http://192.0.2.7/korvel-mfp-srv", true},
        Case{"http://printer.example:8080/korvel-mfp-srv", true},
        Case{"http://[2001:db8::7]/korvel-mfp-srv", true},
        Case{"HTTP://printer/korvel-mfp-srv", true}, Case{"http:///korvel-mfp-srv", false},
        Case{"http://", false}, Case{"http://?x/korvel-mfp-srv", false},
        Case{"http://:80/x", false}, Case{"", false}, Case{"printer/korvel-mfp-srv", false},
        Case{"https://printer/korvel-mfp-srv", false}, Case{"ftp://printer/korvel-mfp-srv", false},
        Case{"file:///etc/passwd", false}, Case{"http://pri nter/korvel-mfp-srv", false},
        Case{"http://printer\n/korvel-mfp-srv", false}}) {
    SCOPED_TRACE(c.address);
    auto client = KorvelPrintPdeVx418JCSOAPClient::initWithServerName(c.address, nullptr, loop);
    EXPECT_EQ(client != nullptr, c.usable);
  }
}

TEST_F(SoapClientTest, AnswerIsStoredOnlyInAPrivateFolderOfTheUsers) {
  const std::filesystem::path elsewhere = dir_.path() / "elsewhere";
  std::filesystem::create_directory(elsewhere);
  const struct {
    const char* name;
    std::function<void(const std::filesystem::path& folder)> prepare;
    bool stored;
  } cases[] = {
      {"made fresh", [](const std::filesystem::path&) {}, true},
      {"open to others", [](const auto& folder) { ::chmod(folder.c_str(), 0755); }, false},
      {"another user's",
       [](const auto& folder) { ASSERT_EQ(::chown(folder.c_str(), 65534, 65534), 0); }, false},
      {"a link to a private folder",
       [&](const auto& folder) {
         std::filesystem::remove(folder);
         std::filesystem::create_symlink(elsewhere, folder);
       },
       false},
      {"holding another user's answer",
       [](const auto& folder) {
         writeFile(folder / "vwxyz.xml", "planted");
         ASSERT_EQ(::chown((folder / "vwxyz.xml").c_str(), 65534, 65534), 0);
       },
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (::geteuid() != 0 && std::string(c.name).find("another user") != std::string::npos) {
      continue;  // only root can give a file away
    }
    TempDir temp;
    test::ScopedEnv env;
    env.set("XDG_RUNTIME_DIR", std::nullopt).set("TMPDIR", temp.path().string());
    responseFile_ = responseFilePath();
    const std::filesystem::path folder = responseFile_.parent_path();
    ASSERT_EQ(folder.parent_path(), temp.path());
    c.prepare(folder);

    PrinterSimulator printer;
    const Exchange exchange = send(printer.url());
    EXPECT_EQ(exchange.outcome, c.stored ? Outcome::Success : Outcome::Failed);
    struct stat info {};
    const bool written = ::lstat(responseFile_.c_str(), &info) == 0 && info.st_uid == ::geteuid();
    EXPECT_EQ(written, c.stored);
    if (c.stored) {
      EXPECT_EQ(readFileIfAny(responseFile_), printer.answerBody());
    }
  }
  EXPECT_TRUE(std::filesystem::is_empty(elsewhere));
}

TEST(ResponseFilePathTest, TakesTheUsersTemporaryFolder) {
  struct Case {
    const char* runtimeDir;
    const char* tmpDir;
    std::string expected;
  };
  const std::string own = "jobcontrol-" + std::to_string(::geteuid());
  auto saved = [](const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
  };
  const auto savedRuntime = saved("XDG_RUNTIME_DIR");
  const auto savedTmp = saved("TMPDIR");
  auto set = [](const char* name, const char* value) {
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  };
  for (const Case& c : {Case{"/run/user/1000", "/var/tmp", "/run/user/1000/jobcontrol/vwxyz.xml"},
                        Case{"/run/user/1000/", nullptr, "/run/user/1000/jobcontrol/vwxyz.xml"},
                        Case{nullptr, "/var/tmp/", "/var/tmp/" + own + "/vwxyz.xml"},
                        Case{"", "/var/tmp", "/var/tmp/" + own + "/vwxyz.xml"},
                        Case{nullptr, nullptr, "/tmp/" + own + "/vwxyz.xml"},
                        Case{"", "", "/tmp/" + own + "/vwxyz.xml"}}) {
    set("XDG_RUNTIME_DIR", c.runtimeDir);
    set("TMPDIR", c.tmpDir);
    EXPECT_EQ(responseFilePath(), std::filesystem::path(c.expected));
  }
  set("XDG_RUNTIME_DIR", savedRuntime ? savedRuntime->c_str() : nullptr);
  set("TMPDIR", savedTmp ? savedTmp->c_str() : nullptr);
}

}  // namespace
}  // namespace jc
