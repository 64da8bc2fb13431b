// The agent with the real scheduler, on Qt's offscreen platform: a job that
// a queue holds opens the Job Control window; what the user sets in it and
// prints reaches the queue's filter in its options argument; "Later" and
// "Cancel Job" lead on to the next waiting job; a job released elsewhere
// closes its window. The queue's filter records its options argument.
// Skipped where no scheduler runs or no system bus carries its events.
#include "hosts/qt/job_agent.h"

#include <cups/cups.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCheckBox>
#include <QDBusConnection>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <regex>

#include "hosts/common/job_notifications.h"
#include "support/cups_queue.h"
#include "support/file_text.h"
#include "support/panel_fixture.h"
#include "support/process_runner.h"
#include "support/temp_dir.h"

namespace jc::test {
namespace {

// A holding queue of the sample printer whose one filter writes its options
// argument to `options()`. The filter lives where the scheduler runs
// filters from (a folder only root may write); the file in a folder the
// scheduler's user may write.
class RecordingQueue {
 public:
  RecordingQueue() {
    std::filesystem::create_directories(filterFolder_);
    std::filesystem::permissions(received_.path(), std::filesystem::perms::all);
    const auto filter = filterFolder_ / "record";
    std::ofstream(filter) << "#!/bin/sh\nprintf '%s\\n' \"$5\" > " << options().string() << "\n";
    chmod(filter.c_str(), 0755);
    const auto ppd = filterFolder_ / "recording.ppd";
    std::ofstream(ppd) << readFile(samplePpdPath()) << "*cupsFilter2: \"text/plain "
                       << "application/vnd.cups-raw 0 " << filter.string() << "\"\n";
    ok_ = runProcess({"/usr/sbin/lpadmin", "-p", name_, "-E", "-v", "file:///dev/null", "-P",
                      ppd.string(), "-o", "job-hold-until-default=indefinite"})
              .exitStatus == 0;
  }
  ~RecordingQueue() {
    runProcess({"/usr/bin/cancel", "-a", name_});
    runProcess({"/usr/sbin/lpadmin", "-x", name_});
    std::error_code ec;
    std::filesystem::remove_all(filterFolder_, ec);
  }
  bool ok() const { return ok_; }
  const std::string& name() const { return name_; }
  std::filesystem::path options() const { return received_.path() / "options"; }

  // A job from `lp`, as any application's job reaches the queue.
  int print(const std::string& title) const {
    const std::filesystem::path file = received_.path() / "document.txt";
    std::ofstream(file) << "A page\n";
    const ProcessResult lp = runProcess({"/usr/bin/lp", "-d", name_, "-t", title, file.string()});
    std::smatch id;
    return std::regex_search(lp.out, id, std::regex("-([0-9]+) ")) ? std::stoi(id[1]) : 0;
  }

 private:
  std::string name_ = "JobControlAgentTest_" + std::to_string(getpid());
  std::filesystem::path filterFolder_ =
      std::filesystem::path(JC_TEST_BINARY_DIR) / ("agent-filter-" + std::to_string(getpid()));
  TempDir received_;
  bool ok_ = false;
};

class JobAgentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!schedulerRuns()) GTEST_SKIP() << "no CUPS scheduler runs here";
    if (!QDBusConnection::systemBus().isConnected()) GTEST_SKIP() << "no system bus";
    if (!queue_.ok()) GTEST_SKIP() << "cannot add CUPS queues here";
    qt::AgentOptions options;
    options.tab.modulePath = JC_MODULE_PATH;
    options.tab.bundleFolder = buildBundleFolder();
    options.tab.prefsFolder = dir_.path() / "prefs";
    agent_ = std::make_unique<qt::JobAgent>(options);
    ASSERT_TRUE(agent_->start());
  }

  // The window for `jobId`, once it shows.
  qt::HeldJobWindow* windowFor(int jobId) {
    (void)QTest::qWaitFor([&] { return agent_->window() && agent_->window()->jobId() == jobId; },
                          10000);
    return agent_->window() && agent_->window()->jobId() == jobId ? agent_->window() : nullptr;
  }

  template <typename T>
  T* control(qt::HeldJobWindow& window, const char* name) {
    return qobject_cast<T*>(window.tab().view()->control(name)->widget());
  }

  TempDir dir_;
  RecordingQueue queue_;
  std::unique_ptr<qt::JobAgent> agent_;
};

TEST_F(JobAgentTest, PrintPutsTheUsersChoicesOntoTheJobAndTheFilterGetsThem) {
  const int job = queue_.print("Quarterly report");
  ASSERT_GT(job, 0);
  qt::HeldJobWindow* window = windowFor(job);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->findChild<QLabel*>("jobFacts")->text().toStdString(),
            "\"Quarterly report\" waits to be printed on " + queue_.name() +
                ".\n"
                "Document: document.txt");
  auto* user = control<QLineEdit>(*window, "userNameEditText");
  user->selectAll();
  QTest::keyClicks(user, "Ada");
  QTest::mouseClick(&window->printButton(), Qt::LeftButton);

  ASSERT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(queue_.options()); }, 10000));
  QTest::qWait(200);  // the filter's one line, whole
  const std::string received = readFile(queue_.options());
  EXPECT_NE(received.find(" korvel.print.PrintSettings.userName=416461 "), std::string::npos)
      << received;
  EXPECT_NE(received.find("korvel.print.PrintSettings.holdButton="), std::string::npos);
  EXPECT_EQ(agent_->window(), nullptr);
}

TEST_F(JobAgentTest, JobsComeOneAfterAnotherAndOneReleasedElsewhereClosesItsWindow) {
  const int later = queue_.print("First");
  qt::HeldJobWindow* first = windowFor(later);
  ASSERT_NE(first, nullptr);
  const int cancelled = queue_.print("Second");
  const int elsewhere = queue_.print("Third");
  QTest::qWait(300);  // the new jobs wait behind the open window
  EXPECT_EQ(agent_->window(), first);

  QTest::mouseClick(&first->laterButton(), Qt::LeftButton);
  qt::HeldJobWindow* second = windowFor(cancelled);
  ASSERT_NE(second, nullptr);
  QTest::mouseClick(&second->cancelButton(), Qt::LeftButton);
  ASSERT_NE(windowFor(elsewhere), nullptr);
  EXPECT_EQ(jobAttribute(cancelled, "job-state"), "canceled");
  EXPECT_EQ(jobAttribute(later, "job-state"), "pending-held");

  runProcess({"/usr/bin/lp", "-i", std::to_string(elsewhere), "-H", "resume"});
  EXPECT_TRUE(QTest::qWaitFor([&] { return agent_->window() == nullptr; }, 10000));
  // "Later" keeps the job held and out of this run.
  EXPECT_EQ(jobAttribute(later, "job-state"), "pending-held");
}

// What a restart that drops the subscription leaves: the scheduler no longer
// knows it; renewing says so and checking makes a new one.
TEST(JobSubscriptionTest, ASubscriptionTheSchedulerLostIsMadeAnew) {
  if (!schedulerRuns()) GTEST_SKIP() << "no CUPS scheduler runs here";
  JobSubscription subscription(std::chrono::seconds(60));
  ASSERT_EQ(subscription.subscribe(), SubscriptionState::Active);
  const int first = *subscription.id();
  EXPECT_EQ(subscription.renew(), SubscriptionState::Active);
  EXPECT_EQ(subscription.id(), first);

  ipp_t* cancel = ippNewRequest(IPP_OP_CANCEL_SUBSCRIPTION);
  ippAddString(cancel, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, "ipp://localhost/");
  ippAddString(cancel, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
               cupsUser());
  ippAddInteger(cancel, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "notify-subscription-id", first);
  ippDelete(cupsDoRequest(CUPS_HTTP_DEFAULT, cancel, "/"));

  EXPECT_EQ(subscription.renew(), SubscriptionState::Gone);
  EXPECT_FALSE(subscription.id());
  EXPECT_EQ(subscription.check(), SubscriptionState::Active);
  EXPECT_GT(*subscription.id(), first);
  EXPECT_EQ(subscription.renewalInterval(), std::chrono::seconds(30));
}

}  // namespace
}  // namespace jc::test
