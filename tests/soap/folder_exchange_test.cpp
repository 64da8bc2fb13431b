// The folder-list button end to end: the panel on the in-memory toolkit asks a
// printer on the loopback interface for its folders, keeps them with the
// printer's preferences and shows them in the folder pop-up.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "platform/text.h"
#include "prefs/plist_values.h"
#include "support/file_text.h"
#include "support/panel_fixture.h"
#include "support/printer_simulator.h"

namespace jc::test {
namespace {

using Mode = PrinterSimulator::Mode;
using namespace std::chrono_literals;

const std::u16string kAlertMessage = u"Could not retrieve Folder Names.";

// What the panel held before the button was pressed.
const FolderList kKept = {{u"Kept", true, false, false}, {u"Also kept", false, true, false}};

// What the popup shows, item by item.
struct Item {
  std::u16string title;
  bool separator = false;
  bool locked = false;
  bool operator==(const Item&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Item& item) {
  if (item.separator) return out << "---";
  return out << toUtf8(item.title) << (item.locked ? " (lock)" : "");
}

PrinterSimulator::Options answering(Mode mode) {
  PrinterSimulator::Options options;
  options.mode = mode;
  return options;
}

PrinterSimulator::Options answering(int status, std::string body) {
  PrinterSimulator::Options options = answering(Mode::Custom);
  options.status = status;
  options.body = std::move(body);
  return options;
}

PrinterSimulator::Options oversizedChunked() {
  PrinterSimulator::Options options = answering(Mode::Oversized);
  options.declareLength = false;
  return options;
}

// Calls `onWrite` whenever something is written through it: lets a test look at
// the panel at the moment the toolkit shows an alert.
class WriteObserver : public std::streambuf {
 public:
  std::function<void()> onWrite;

 protected:
  int overflow(int c) override {
    if (onWrite) onWrite();
    return c == traits_type::eof() ? traits_type::not_eof(c) : c;
  }
  std::streamsize xsputn(const char*, std::streamsize n) override {
    if (onWrite) onWrite();
    return n;
  }
};

// The run loop the host turns while the panel waits: looks at the progress
// indicator on every turn.
class WatchingRunLoop : public PollRunLoop {
 public:
  WatchingRunLoop() : PollRunLoop(50ms) {}
  std::function<void()> onTurn;
  int turns = 0;

 protected:
  void onWake() override {
    ++turns;
    if (onTurn) onTurn();
  }
};

class FolderExchangeTest : public ::testing::Test {
 protected:
  FolderExchangeTest() {
    // A stalled printer gives up quickly here; the command-line test waits the real 20 seconds.
    f.env.soapLimits.timeout = 400ms;
  }

  KorvelPrintPdeVx418JC& open() {
    KorvelPrintPdeVx418JC& panel = f.open();
    EXPECT_TRUE(panel.folderList && panel.folderList->empty());
    return panel;
  }

  // The user types the address into the field, as a person would.
  void typeAddress(const std::string& address) {
    HeadlessControl& field = f.control("printersAddressEditText");
    field.userClear();
    if (!address.empty()) field.userType(fromUtf8(address));
    ASSERT_EQ(field.stringValue(), fromUtf8(address));
  }

  void press() { ASSERT_TRUE(f.control("getFolderNameButton").userClick()); }

  std::vector<Item> popUpItems() const {
    const HeadlessControl& popUp = f.control("folderSelectionPopup");
    std::vector<Item> items;
    for (int i = 0; i < popUp.numberOfItems(); ++i) {
      const MenuItem* item = popUp.itemAtIndex(i);
      const bool locked = item->image && item->image->iconType == fourCharCode("lock");
      items.push_back({item->title, item->separator, locked});
      // Every folder item shows either the lock or the blank image.
      if (!item->separator) {
        EXPECT_TRUE(locked || item->image == f.panel->spaceImage) << i;
      }
    }
    return items;
  }

  static std::vector<Item> itemsFor(const FolderList& folders) {
    std::vector<Item> items = {{u"Quick File"}, {u"Main Folder"}};
    if (!folders.empty()) items.push_back({u"", true});
    for (const FolderEntry& folder : folders)
      items.push_back({folder.name, false, folder.password});
    return items;
  }

  // The "Job Control" dictionary as stored, read back from the preference file.
  struct Stored {
    std::optional<std::u16string> address;
    std::optional<FolderList> files;
  };
  Stored stored() const {
    Stored out;
    PlistPtr domain = f.store()->read(*f.panel->preferenceName);
    plist_t jobControl = plist::dict(domain.get(), "Job Control");
    if (!jobControl) return out;
    out.address = plist::string(jobControl, "address");
    plist_t files = plist_dict_get_item(jobControl, "files");
    if (!files || plist_get_node_type(files) != PLIST_ARRAY) return out;
    out.files.emplace();
    for (uint32_t i = 0; i < plist_array_get_size(files); ++i) {
      plist_t entry = plist_array_get_item(files, i);
      FolderEntry folder;
      folder.name = plist::string(entry, "name").value_or(u"(none)");
      folder.password = plist::boolean(entry, "password").value_or(false);
      folder.dir = plist::boolean(entry, "dir").value_or(false);
      folder.add = plist::boolean(entry, "add").value_or(true);
      out.files->push_back(folder);
    }
    return out;
  }

  void expectIndicatorAtRest() {
    EXPECT_TRUE(f.control("chasingArrow").isHidden());
    EXPECT_FALSE(f.control("chasingArrow").isAnimating());
  }

  const std::vector<AlertRecord>& alerts() const { return f.host.headless.alerts(); }

  PanelFixture f;
};

TEST_F(FolderExchangeTest, ThreeFoldersLandInTheListThePopUpAndThePreferences) {
  PrinterSimulator printer;  // Projects, Payroll (protected), Scans
  KorvelPrintPdeVx418JC& panel = open();
  ASSERT_EQ(popUpItems(), itemsFor({}));
  typeAddress(printer.address());
  press();

  const FolderList expected = {{u"Projects", false, true, false},
                               {u"Payroll", true, true, false},
                               {u"Scans", false, false, false}};
  EXPECT_EQ(panel.folderList, expected);
  EXPECT_EQ(popUpItems(), itemsFor(expected));
  EXPECT_EQ(stored().files, expected);
  EXPECT_EQ(stored().address, fromUtf8(printer.address()));
  EXPECT_TRUE(alerts().empty());
  expectIndicatorAtRest();

  // One POST of the bundle's request, unchanged, to the service path.
  const auto requests = printer.requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].method, "POST");
  EXPECT_EQ(requests[0].target, PrinterSimulator::kServicePath);
  const auto request = readFileIfAny(buildBundleFolder() / "listfiles.xml");
  ASSERT_TRUE(request && !request->empty());
  EXPECT_EQ(requests[0].body, *request);

  // The next dialog for the printer starts from the stored list.
  PanelFixture next;
  next.env = f.env;
  next.open();
  EXPECT_EQ(next.panel->folderList, expected);
  EXPECT_EQ(next.control("folderSelectionPopup").numberOfItems(), 6);
}

TEST_F(FolderExchangeTest, PressingTwiceShowsEachFolderOnce) {
  PrinterSimulator printer;
  KorvelPrintPdeVx418JC& panel = open();
  typeAddress(printer.address());
  press();
  press();
  EXPECT_EQ(panel.folderList->size(), 3u);
  EXPECT_EQ(popUpItems().size(), 6u);
  EXPECT_EQ(printer.requests().size(), 2u);
}

// The rebuild takes away the printer's items without touching a fixed one the
// user picked; a picked printer folder that goes away leaves the main folder.
TEST_F(FolderExchangeTest, RebuildKeepsAFixedChoiceAndFallsBackToTheMainFolder) {
  PrinterSimulator printer;
  open();
  f.control("retentionCheckBox").userSetState(1);
  typeAddress(printer.address());
  press();
  HeadlessControl& popUp = f.control("folderSelectionPopup");
  ASSERT_EQ(popUp.numberOfItems(), 6);

  ASSERT_TRUE(popUp.userSelectItem(0));
  press();
  EXPECT_EQ(popUp.indexOfSelectedItem(), 0);

  ASSERT_TRUE(popUp.userSelectItem(4));
  press();
  EXPECT_EQ(popUp.numberOfItems(), 6);
  EXPECT_EQ(popUp.indexOfSelectedItem(), 1);
}

TEST_F(FolderExchangeTest, RefusalEmptiesTheListSilentlyAndStoresItEmpty) {
  PrinterSimulator printer(answering(Mode::Refusal));
  KorvelPrintPdeVx418JC& panel = open();
  panel.folderList = kKept;
  typeAddress(printer.address());
  press();
  EXPECT_EQ(panel.folderList, FolderList{});
  EXPECT_TRUE(alerts().empty());
  EXPECT_EQ(stored().files, FolderList{});  // present, and empty
  EXPECT_EQ(popUpItems(), itemsFor({}));
}

TEST_F(FolderExchangeTest, EmptyAddressSendsNothingAndKeepsTheList) {
  PrinterSimulator printer;
  KorvelPrintPdeVx418JC& panel = open();
  // An earlier answer lies in the response file; without a request it is not read.
  writeFile(f.env.responseFile, folderListAnswer({{"Other printer", false, false}}));
  panel.folderList = kKept;
  WatchingRunLoop loop;
  f.host.loop = &loop;
  typeAddress("");
  press();
  EXPECT_TRUE(printer.requests().empty());
  EXPECT_EQ(loop.turns, 0);
  EXPECT_TRUE(alerts().empty());
  expectIndicatorAtRest();
  EXPECT_EQ(panel.folderList, kKept);
  EXPECT_EQ(stored().files, kKept);
  EXPECT_EQ(stored().address, u"");
  EXPECT_EQ(popUpItems(), itemsFor(kKept));  // rebuilt from the kept list
}

TEST_F(FolderExchangeTest, StalledPrinterAlertsOnceThenRebuildsThePopUp) {
  PrinterSimulator printer(answering(Mode::Stall));
  KorvelPrintPdeVx418JC& panel = open();
  panel.folderList = kKept;  // not shown yet: the pop-up still has its two fixed items

  // While the panel waits, the indicator turns and shows.
  WatchingRunLoop loop;
  int shownTurns = 0;
  loop.onTurn = [&] {
    if (!f.control("chasingArrow").isHidden() && f.control("chasingArrow").isAnimating())
      ++shownTurns;
  };
  f.host.loop = &loop;

  // When the alert comes up, the indicator is already at rest and the pop-up
  // not yet rebuilt.
  WriteObserver observer;
  std::ostream alertOut(&observer);
  std::optional<int> itemsAtAlert;
  std::optional<bool> hiddenAtAlert;
  observer.onWrite = [&] {
    if (itemsAtAlert) return;
    itemsAtAlert = f.control("folderSelectionPopup").numberOfItems();
    hiddenAtAlert = f.control("chasingArrow").isHidden();
  };
  f.host.headless = HeadlessToolkit(alertOut);

  typeAddress(printer.address());
  const auto start = std::chrono::steady_clock::now();
  press();
  const auto elapsed = std::chrono::steady_clock::now() - start;

  EXPECT_GE(elapsed, f.env.soapLimits.timeout);
  EXPECT_LT(elapsed, 5s);
  EXPECT_GT(loop.turns, 0);
  EXPECT_EQ(shownTurns, loop.turns);
  ASSERT_EQ(alerts().size(), 1u);
  EXPECT_EQ(alerts()[0], (AlertRecord{u"", kAlertMessage, u"OK"}));
  EXPECT_EQ(itemsAtAlert, 2);
  EXPECT_EQ(hiddenAtAlert, true);
  expectIndicatorAtRest();
  EXPECT_EQ(panel.folderList, kKept);
  EXPECT_EQ(popUpItems(), itemsFor(kKept));
  EXPECT_EQ(stored().files, kKept);
  EXPECT_EQ(printer.requests().size(), 1u);
}

TEST_F(FolderExchangeTest, SuccessfulEmptyBodyKeepsTheList) {
  PrinterSimulator printer(answering(200, ""));
  KorvelPrintPdeVx418JC& panel = open();
  panel.folderList = kKept;
  typeAddress(printer.address());
  press();
  EXPECT_TRUE(alerts().empty());
  EXPECT_EQ(readFileIfAny(f.env.responseFile), "");  // the answer was stored, and is empty
  EXPECT_EQ(panel.folderList, kKept);
  EXPECT_EQ(stored().files, kKept);
  EXPECT_EQ(popUpItems(), itemsFor(kKept));
}

// Requests that did not succeed: the list stays as it was and an earlier
// answer left in the response file, of another printer, is never read.
struct FailedRequest {
  const char* name;
  PrinterSimulator::Options options;
  bool alert;
  // The address to type; empty: the simulator's. "closed": a port nobody listens on.
  std::string address;
};

void PrintTo(const FailedRequest& r, std::ostream* out) { *out << r.name; }

class FailedRequestTest : public FolderExchangeTest,
                          public ::testing::WithParamInterface<FailedRequest> {};

TEST_P(FailedRequestTest, KeepsTheListAndIgnoresTheEarlierAnswer) {
  const FailedRequest& c = GetParam();
  PrinterSimulator printer(c.options);
  std::string address = c.address.empty() ? printer.address() : c.address;
  if (c.address == "closed") {
    auto gone = std::make_unique<PrinterSimulator>();
    address = gone->address();
  }

  KorvelPrintPdeVx418JC& panel = open();
  const std::string stale = folderListAnswer({{"Other printer", true, false}});
  writeFile(f.env.responseFile, stale);
  panel.folderList = kKept;
  typeAddress(address == "none" ? "" : address);
  press();

  EXPECT_EQ(alerts().size(), c.alert ? 1u : 0u);
  if (c.alert && !alerts().empty()) {
    EXPECT_EQ(alerts()[0].message, kAlertMessage);
  }
  expectIndicatorAtRest();
  EXPECT_EQ(panel.folderList, kKept);
  EXPECT_EQ(popUpItems(), itemsFor(kKept));
  EXPECT_EQ(stored().files, kKept);
  EXPECT_EQ(readFileIfAny(f.env.responseFile), stale);
}

const std::string kListBody = folderListAnswer({{"Not found", false, false}});

INSTANTIATE_TEST_SUITE_P(
    FolderExchange, FailedRequestTest,
    ::testing::Values(FailedRequest{"ServerError", answering(Mode::ServerError), true, ""},
                      // A list in the body of an error status is not an answer.
                      FailedRequest{"NotFoundWithAList", answering(404, kListBody), true, ""},
                      FailedRequest{"Stall", answering(Mode::Stall), true, ""},
                      FailedRequest{"ClosedMidBody", answering(Mode::CloseMidBody), true, ""},
                      FailedRequest{"OversizedDeclared", answering(Mode::Oversized), true, ""},
                      FailedRequest{"OversizedChunked", oversizedChunked(), true, ""},
                      FailedRequest{"ConnectionRefused", {}, true, "closed"},
                      FailedRequest{"EmptyAddress", {}, false, "none"},
                      FailedRequest{"AddressNotAUrl", {}, false, "[::1"}),
    [](const ::testing::TestParamInfo<FailedRequest>& info) { return info.param.name; });

// Answers no printer of this family gives: nothing crashes, nothing of them
// reaches the list, the pop-up or the preferences.
struct HostileAnswer {
  const char* name;
  std::string body;
  bool keepsList;  // false: a readable document without a folder list empties it
};

void PrintTo(const HostileAnswer& a, std::ostream* out) { *out << a.name; }

class HostileAnswerTest : public FolderExchangeTest,
                          public ::testing::WithParamInterface<HostileAnswer> {};

TEST_P(HostileAnswerTest, ChangesNothingItShouldNot) {
  const HostileAnswer& a = GetParam();
  PrinterSimulator printer(answering(200, a.body));
  KorvelPrintPdeVx418JC& panel = open();
  panel.folderList = kKept;
  typeAddress(printer.address());
  press();

  EXPECT_TRUE(alerts().empty());
  const FolderList expected = a.keepsList ? kKept : FolderList{};
  EXPECT_EQ(panel.folderList, expected);
  EXPECT_EQ(stored().files, expected);
  EXPECT_EQ(popUpItems(), itemsFor(expected));
}

std::string nested(int depth) {
  std::string xml;
  for (int i = 0; i < depth; ++i) xml += "<d>";
  for (int i = 0; i < depth; ++i) xml += "</d>";
  return xml;
}

std::string laughs() {
  std::string dtd = "<!DOCTYPE s:Envelope [<!ENTITY l0 \"lol\">";
  for (int i = 1; i <= 9; ++i) {
    dtd += "<!ENTITY l" + std::to_string(i) + " \"";
    for (int j = 0; j < 10; ++j) dtd += "&l" + std::to_string(i - 1) + ";";
    dtd += "\">";
  }
  return dtd + "]>";
}

const std::string kEnvelope = "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\">";

INSTANTIATE_TEST_SUITE_P(
    FolderExchange, HostileAnswerTest,
    ::testing::Values(
        HostileAnswer{"NotXml", "Service Unavailable", true},
        HostileAnswer{"Unclosed", kEnvelope + "<s:Body><r><result-code>ok", true},
        HostileAnswer{"BadBytes", "<a>\xFF\xFE</a>", true},
        HostileAnswer{"DeeplyNested",
                      kEnvelope + "<s:Body>" + nested(50000) + "</s:Body></s:Envelope>", true},
        HostileAnswer{"BillionLaughs",
                      laughs() + kEnvelope +
                          "<s:Body><r><result-code>ok</result-code><files><f><name>&l9;</name></f>"
                          "</files></r></s:Body></s:Envelope>",
                      true},  // the parser's amplification limit refuses the document
        HostileAnswer{"ResponseInsideAnEntity",
                      "<!DOCTYPE s:Envelope [<!ENTITY r \"<r><result-code>ok</result-code><files>"
                      "<f><name>INJECTED</name></f></files></r>\">]>" +
                          kEnvelope + "<s:Body>&r;</s:Body></s:Envelope>",
                      false},
        HostileAnswer{"ExternalEntity",
                      "<!DOCTYPE s:Envelope [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>" +
                          kEnvelope + "<s:Body>&x;</s:Body></s:Envelope>",
                      false}),
    [](const ::testing::TestParamInfo<HostileAnswer>& info) { return info.param.name; });

}  // namespace
}  // namespace jc::test

namespace jc::test {
namespace {

// What each kind of request came to, as the panel tells its host.
struct ExchangeReport {
  const char* name;
  PrinterSimulator::Options options;
  std::string address;  // as in FailedRequest
  std::optional<FolderListOutcome::Kind> kind;
  long httpStatus = 0;
  std::string resultCode;
  std::string message;  // the whole message, or its start when it ends with "..."
};

void PrintTo(const ExchangeReport& r, std::ostream* out) { *out << r.name; }

class ExchangeReportTest : public FolderExchangeTest,
                           public ::testing::WithParamInterface<ExchangeReport> {};

TEST_P(ExchangeReportTest, TellsWhatHappened) {
  const ExchangeReport& c = GetParam();
  PrinterSimulator elsewhere;
  PrinterSimulator::Options options = c.options;
  if (options.redirectLocation == "elsewhere") options.redirectLocation = elsewhere.url();
  PrinterSimulator printer(options);
  std::string address = c.address.empty() ? printer.address() : c.address;
  if (c.address == "closed") address = PrinterSimulator().address();

  KorvelPrintPdeVx418JC& panel = open();
  EXPECT_EQ(panel.folderListOutcome(), std::nullopt);
  typeAddress(address == "none" ? "" : address);
  press();

  const std::optional<FolderListOutcome> outcome = panel.folderListOutcome();
  ASSERT_EQ(outcome.has_value(), c.kind.has_value());
  if (!outcome) return;
  EXPECT_EQ(outcome->kind, *c.kind);
  EXPECT_EQ(outcome->httpStatus, c.httpStatus);
  EXPECT_EQ(outcome->resultCode, c.resultCode);
  if (c.message.ends_with("...")) {
    EXPECT_TRUE(outcome->message.starts_with(c.message.substr(0, c.message.size() - 3)))
        << outcome->message;
  } else {
    EXPECT_EQ(outcome->message, c.message);
  }
}

PrinterSimulator::Options redirectingTo(std::string location, int status = 302) {
  PrinterSimulator::Options options = answering(Mode::Redirect);
  options.redirectStatus = status;
  options.redirectLocation = std::move(location);
  return options;
}

using Kind = FolderListOutcome::Kind;

INSTANTIATE_TEST_SUITE_P(
    FolderExchange, ExchangeReportTest,
    ::testing::Values(
        ExchangeReport{"FolderList", {}, "", Kind::Success, 0, "", "The printer listed 3 folders."},
        ExchangeReport{"EmptyFiles", answering(Mode::EmptyFiles), "", Kind::Success, 0, "",
                       "The printer listed 0 folders."},
        ExchangeReport{"Refusal", answering(Mode::Refusal), "", Kind::Refused, 0,
                       "unsupported-operation",
                       "The printer refused the request (result code \"unsupported-operation\")."},
        ExchangeReport{"RefusalWithoutFiles",
                       answering(200, folderListAnswer({}, "busy\n\t", false)), "", Kind::Refused,
                       0, "busy\n\t", "The printer refused the request (result code \"busy??\")."},
        ExchangeReport{"NoFiles", answering(Mode::NoFiles), "", Kind::NotAFolderList, 0, "",
                       "The printer's answer is not a folder list."},
        ExchangeReport{"PrefixedNames", answering(Mode::PrefixedNames), "", Kind::NotAFolderList, 0,
                       "", "The printer's answer is not a folder list."},
        ExchangeReport{"NotXml", answering(200, "Service Unavailable"), "", Kind::NotAFolderList, 0,
                       "", "The printer's answer is not a readable XML document."},
        ExchangeReport{"EmptyBody", answering(200, ""), "", Kind::NotAFolderList, 0, "",
                       "The printer's answer is not a readable XML document."},
        ExchangeReport{"Undecodable",
                       answering(200, "<?xml version=\"1.0\" encoding=\"EUC-JP\"?>" +
                                          folderListAnswer({{"A"}}).substr(39) + "\xFF\xFF"),
                       "", Kind::NotAFolderList, 0, "",
                       "The printer's answer is not a readable XML document."},
        ExchangeReport{"Oversized", answering(Mode::Oversized), "", Kind::NotAFolderList, 0, "",
                       "The printer's answer is larger than 16 MB: it is not a folder list."},
        ExchangeReport{"ServerError", answering(Mode::ServerError), "", Kind::HttpStatus, 500, "",
                       "The printer answered with HTTP status 500."},
        ExchangeReport{"NotFoundWithAList", answering(404, kListBody), "", Kind::HttpStatus, 404,
                       "", "The printer answered with HTTP status 404."},
        ExchangeReport{"RedirectElsewhere", redirectingTo("elsewhere"), "", Kind::HttpStatus, 302,
                       "",
                       "The printer redirected the request to another address (HTTP status 302)."},
        ExchangeReport{"Stall", answering(Mode::Stall), "", Kind::NoAnswer, 0, "",
                       "The printer did not answer within 0.4 seconds."},
        ExchangeReport{"ClosedMidBody", answering(Mode::CloseMidBody), "", Kind::NoAnswer, 0, "",
                       "The printer did not answer: ..."},
        ExchangeReport{"ConnectionRefused",
                       {},
                       "closed",
                       Kind::NoAnswer,
                       0,
                       "",
                       "The printer did not answer: Failed to connect to 127.0.0.1 port ..."},
        ExchangeReport{"AddressNotAUrl",
                       {},
                       "[::1",
                       Kind::NoAnswer,
                       0,
                       "",
                       "The printer address is not a usable http address."},
        ExchangeReport{"EmptyAddress", {}, "none", std::nullopt, 0, "", ""}),
    [](const ::testing::TestParamInfo<ExchangeReport>& info) { return info.param.name; });

}  // namespace
}  // namespace jc::test
