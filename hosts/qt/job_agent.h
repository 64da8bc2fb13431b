// jobcontrol-agent's work: the calling user's jobs that wait for Job Control,
// one window at a time. A new job, or one that comes to wait, opens its
// window when no other is open; a job released, cancelled or ended elsewhere
// closes its window; "Later" leaves the job held and out of this run.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <set>
#include <vector>

#include "hosts/qt/held_job_window.h"
#include "hosts/qt/panel_tab.h"

namespace jc::qt {

class JobWatch;

struct AgentOptions {
  PanelTabOptions tab;
  // Only the jobs that wait at the start; the agent ends after the last.
  bool once = false;
};

class JobAgent final : public QObject {
 public:
  explicit JobAgent(AgentOptions options, QObject* parent = nullptr);
  ~JobAgent() override;

  // Listens for the scheduler's job events and opens the first waiting job's
  // window. False when the events cannot be heard (no system bus): the jobs
  // that wait now are still served.
  bool start();

  // The window open now, or null.
  HeldJobWindow* window() const { return window_; }
  // Called with each window once it shows, and when a run of --once is done.
  std::function<void(HeldJobWindow&)> onWindowShown;
  std::function<void()> onDone;

  // Asks the scheduler again and opens the next waiting job's window.
  void lookAgain();

 private:
  void open(const HeldJobFacts& job);
  void closed(int outcome);
  void jobLeftHold(int jobId);

  AgentOptions options_;
  JobWatch* watch_ = nullptr;
  QPointer<HeldJobWindow> window_;
  std::set<int> passed_;               // jobs done with in this run, "Later" too
  std::optional<std::set<int>> once_;  // with --once, the jobs that waited at the start
};

}  // namespace jc::qt
