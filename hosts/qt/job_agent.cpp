#include "hosts/qt/job_agent.h"

#include <cups/cups.h>

#include <QTimer>
#include <algorithm>

#include "hosts/common/held_job_release.h"
#include "hosts/common/held_jobs.h"
#include "hosts/common/host_error.h"
#include "hosts/qt/job_watch.h"

namespace jc::qt {
namespace {

HeldJobFacts factsOf(const HeldJob& job) {
  return {job.id, job.printer, job.title, job.documentName};
}

void cancelHeldJob(const HeldJobFacts& job) {
  if (cupsCancelJob2(CUPS_HTTP_DEFAULT, job.printer.c_str(), job.id, 0) != IPP_STATUS_OK)
    throw HostError(Message("the job {0} could not be cancelled: {1}",
                            {std::to_string(job.id), cupsLastErrorString()}));
}

}  // namespace

JobAgent::JobAgent(AgentOptions options, QObject* parent)
    : QObject(parent), options_(std::move(options)) {}

JobAgent::~JobAgent() {
  if (window_) delete window_.data();
}

bool JobAgent::start() {
  watch_ = new JobWatch(this);
  connect(watch_, &JobWatch::jobsMayWait, this, [this] { lookAgain(); });
  connect(watch_, &JobWatch::jobLeftHold, this, [this](int id) { jobLeftHold(id); });
  const bool hears = watch_->start();
  if (options_.once) {
    std::set<int> waiting;
    for (const HeldJob& job : jobsWaitingForJobControl()) waiting.insert(job.id);
    once_ = std::move(waiting);
  }
  lookAgain();
  return hears;
}

void JobAgent::lookAgain() {
  if (window_) return;
  std::vector<HeldJob> waiting;
  try {
    waiting = jobsWaitingForJobControl();
  } catch (const HostError&) {
    return;  // the scheduler is away: the watch looks again once it is back
  }
  for (const HeldJob& job : waiting) {
    if (passed_.count(job.id) || (once_ && !once_->count(job.id))) continue;
    return open(factsOf(job));
  }
  if (once_ && onDone) onDone();
}

void JobAgent::open(const HeldJobFacts& job) {
  HeldJobActions actions;
  const int id = job.id;
  actions.release = [id](const PrintSettings& entries, const StandardAttributePlan& plan) {
    // Released or cancelled elsewhere since the window opened: say so.
    const HeldJobLookup found = lookUpHeldJob(id);
    if (found.kind != HeldJobLookup::Kind::Held) throw HostError(heldJobProblem(id, found.kind));
    releaseWithEntries(id, entries, plan);
  };
  actions.cancel = [job] { cancelHeldJob(job); };
  window_ = new HeldJobWindow(job, options_.tab, std::move(actions));
  connect(window_, &QDialog::finished, this, [this](int outcome) { closed(outcome); });
  window_->show();
  window_->raise();
  window_->activateWindow();
  if (onWindowShown) onWindowShown(*window_);
}

void JobAgent::closed(int) {
  if (window_) {
    passed_.insert(window_->jobId());
    window_->deleteLater();
    window_ = nullptr;
  }
  // The next job once this window is gone, from the event loop.
  QTimer::singleShot(0, this, [this] { lookAgain(); });
}

void JobAgent::jobLeftHold(int jobId) {
  if (window_ && window_->jobId() == jobId) window_->jobGone();
}

}  // namespace jc::qt
