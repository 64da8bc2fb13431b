// The agent with the real scheduler, on Qt's offscreen platform: a job that
// a queue holds opens the Job Control window; what the user sets in it and
// prints reaches the queue's filter in its options argument; "Later" and
// "Cancel Job" lead on to the next waiting job; a job released elsewhere
// closes its window; after the scheduler restarts, the next job still opens
// one. The queue's filter records its options argument. Skipped where no
// scheduler runs or no system bus carries its events.
#include "hosts/qt/job_agent.h"

#include <cups/cups.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCheckBox>
#include <QDBusConnection>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "hosts/common/held_jobs.h"
#include "hosts/common/job_notifications.h"
#include "support/cli_run.h"
#include "support/cups_queue.h"
#include "support/file_text.h"
#include "support/held_job_queue.h"
#include "support/panel_fixture.h"
#include "support/process_runner.h"
#include "support/temp_dir.h"

namespace jc::test {
namespace {

class JobAgentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!schedulerRuns()) GTEST_SKIP() << "no CUPS scheduler runs here";
    if (!QDBusConnection::systemBus().isConnected()) GTEST_SKIP() << "no system bus";
    if (!queue_.ok() || !queue_.holdJobs()) GTEST_SKIP() << "cannot add CUPS queues here";
    writeFile(dir_.path() / "document.txt", "A page\n");
    qt::AgentOptions options;
    options.tab.modulePath = JC_MODULE_PATH;
    options.tab.bundleFolder = buildBundleFolder();
    options.tab.prefsFolder = dir_.path() / "prefs";
    agent_ = std::make_unique<qt::JobAgent>(options);
    ASSERT_TRUE(agent_->start());
  }

  // A job from `lp`, as any application's job reaches the queue.
  int print(const std::string& title) {
    return queue_.printWithLp(dir_.path() / "document.txt", title);
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
  RecordingQueue queue_{std::filesystem::path(JC_TEST_BINARY_DIR) /
                        ("agent-filter-" + std::to_string(getpid()))};
  std::unique_ptr<qt::JobAgent> agent_;
};

TEST_F(JobAgentTest, PrintPutsTheUsersChoicesOntoTheJobAndTheFilterGetsThem) {
  const int job = print("Quarterly report");
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

  ASSERT_TRUE(QTest::qWaitFor([&] { return queue_.received(job).has_value(); }, 10000));
  const std::string received = *queue_.received(job);
  // Exactly what `save` computes for the same choices, but for the time.
  auto entries = entriesOf(received);
  EXPECT_EQ(entries.at("korvel.print.PrintSettings.userName"), "416461") << received;
  nlohmann::json saved = parseJsonOutput(
      runCli({.configHome = dir_.path() / "config", .prefsDir = dir_.path() / "cli-prefs"},
             {"--printer", queue_.name(), "--title", "Quarterly report", "save", "--user-name",
              "Ada", "--json"}))["printSettings"];
  entries.erase("korvel.print.PrintSettings.spoolTime");
  saved.erase("korvel.print.PrintSettings.spoolTime");
  EXPECT_EQ(nlohmann::json(entries), saved);
  EXPECT_EQ(agent_->window(), nullptr);
}

TEST_F(JobAgentTest, JobsComeOneAfterAnotherAndOneReleasedElsewhereClosesItsWindow) {
  const int later = print("First");
  qt::HeldJobWindow* first = windowFor(later);
  ASSERT_NE(first, nullptr);
  const int cancelled = print("Second");
  const int elsewhere = print("Third");
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

// The scheduler restarted while the agent waits, keeping the agent's
// subscription or having lost it: the next job still opens a window. The
// agent has heard the scheduler's notifier before, as after any job.
class JobAgentRestartTest : public JobAgentTest, public ::testing::WithParamInterface<bool> {
 protected:
  // The ids of the calling user's event subscriptions on the scheduler.
  static std::vector<int> subscriptions() {
    ipp_t* request = ippNewRequest(IPP_OP_GET_SUBSCRIPTIONS);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                 "ipp://localhost/");
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    ippAddBoolean(request, IPP_TAG_OPERATION, "my-subscriptions", 1);
    // A connection of its own: the shared one may be to the scheduler before
    // its restart.
    http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                5000, nullptr);
    ipp_t* response = cupsDoRequest(http, request, "/");
    httpClose(http);
    std::vector<int> ids;
    for (ipp_attribute_t* id =
             ippFindAttribute(response, "notify-subscription-id", IPP_TAG_INTEGER);
         id; id = ippFindNextAttribute(response, "notify-subscription-id", IPP_TAG_INTEGER))
      ids.push_back(ippGetInteger(id, 0));
    ippDelete(response);
    return ids;
  }
};

INSTANTIATE_TEST_SUITE_P(, JobAgentRestartTest, ::testing::Values(false, true),
                         [](const auto& info) {
                           return info.param ? "SubscriptionLost" : "SubscriptionKept";
                         });

TEST_P(JobAgentRestartTest, TheNextJobStillOpensAWindow) {
  const int before = print("Before");
  ASSERT_NE(windowFor(before), nullptr);
  QTest::mouseClick(&agent_->window()->cancelButton(), Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return agent_->window() == nullptr; }, 10000));
  // The cancelled job's events, heard before the restart: after it, only
  // the agent's watch can bring the next job.
  QTest::qWait(500);
  const std::vector<int> before_restart = subscriptions();
  ASSERT_FALSE(before_restart.empty());
  if (!restartScheduler(GetParam() ? before_restart : std::vector<int>{}))
    GTEST_SKIP() << "cannot restart the scheduler here";

  const int after = print("After");
  ASSERT_GT(after, 0);
  qt::HeldJobWindow* window = windowFor(after);
  ASSERT_NE(window, nullptr);
  // Kept: the agent made none. Lost: the one there is the agent's new one.
  const std::vector<int> after_restart = subscriptions();
  if (GetParam())
    EXPECT_EQ(after_restart.size(), 1u);
  else
    EXPECT_EQ(after_restart, before_restart);
  QTest::mouseClick(&window->printButton(), Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([&] { return queue_.received(after).has_value(); }, 10000));
}

// The program itself: with nothing waiting, --screenshot says so and --once
// ends at once; with a job waiting, --screenshot draws its window and leaves
// the job held and without entries.
TEST(JobAgentProgramTest, ScreenshotDrawsTheWaitingJobsWindowAndLeavesTheJobAsItWas) {
  if (!schedulerRuns()) GTEST_SKIP() << "no CUPS scheduler runs here";
  TempDir dir;
  RecordingQueue queue(std::filesystem::path(JC_TEST_BINARY_DIR) /
                       ("agent-program-filter-" + std::to_string(getpid())));
  if (!queue.ok() || !queue.holdJobs()) GTEST_SKIP() << "cannot add CUPS queues here";
  const auto agent = [&](const std::string& option, const std::string& value = "") {
    std::vector<std::string> args = {JC_AGENT_PATH, "--prefs-dir", (dir.path() / "prefs").string(),
                                     option};
    if (!value.empty()) args.push_back(value);
    return runProcess(args);
  };
  const std::string picture = (dir.path() / "agent.png").string();
  if (jobsWaitingForJobControl().empty()) {
    const ProcessResult run = agent("--screenshot", picture);
    EXPECT_EQ(run.exitStatus, 1);
    // After whatever Qt says of the session.
    EXPECT_THAT(run.err,
                ::testing::EndsWith("jobcontrol-agent: no job of yours waits for Job Control\n"));
    EXPECT_EQ(agent("--once").exitStatus, 0);
  }

  writeFile(dir.path() / "report.txt", "A page\n");
  const int job = queue.printWithLp(dir.path() / "report.txt", "Quarterly report");
  ASSERT_GT(job, 0);
  const ProcessResult run = agent("--screenshot", picture);
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_GT(QImage(QString::fromStdString(picture)).width(), 300);
  EXPECT_EQ(jobAttribute(job, "job-state"), "pending-held");
  EXPECT_EQ(jobAttribute(job, "korvel.print.PrintSettings.spoolTime"), "");
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
