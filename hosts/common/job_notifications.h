// The scheduler's job events for the calling user's agent: a subscription to
// every queue's job-created, job-state-changed and job-completed events,
// delivered by the scheduler's D-Bus notifier the moment they happen.
//
// The scheduler's pull method (ippget) answers Get-Notifications at once and
// asks to be asked again after its notify-get-interval (60 seconds on CUPS
// 2.4, which ignores notify-wait): too late for a window that should follow
// the job at once, and polling all the same. The D-Bus notifier pushes each
// event as a signal on the system bus; the subscription itself is an IPP
// object with a lease, which is renewed before it ends and made anew when
// the scheduler no longer knows it (client-error-not-found after a restart
// that dropped it) or could not be reached.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace jc {

// What the scheduler said of the subscription.
enum class SubscriptionState {
  Active,       // it exists (made or renewed now)
  Gone,         // the scheduler does not know it: make it anew
  Unreachable,  // the scheduler did not answer: try again later
};

// The job an event is about, as the D-Bus notifier's signal carries it.
struct JobEvent {
  enum class Kind { Created, StateChanged, Completed };
  Kind kind = Kind::Created;
  int jobId = 0;
  int jobState = 0;  // IPP job-state: 3 pending, 4 held, ... 7 canceled, 9 completed
  std::string printer;
};

// The kind of the notifier's signal `member` ("JobCreated", "JobState",
// "JobCompleted"), or none for the signals of printers and the server.
std::optional<JobEvent::Kind> jobEventKindOf(const std::string& member);

// Whether a job in `jobState` may still wait for the user: held. Any other
// state means it went on, or ended, without the agent.
bool jobStillHeld(int jobState);

class JobSubscription {
 public:
  static constexpr std::chrono::seconds kLease{600};

  // Nothing is asked of the scheduler before subscribe().
  explicit JobSubscription(std::chrono::seconds lease = kLease);
  // Cancels the subscription, when there is one, within a short time.
  ~JobSubscription();
  JobSubscription(const JobSubscription&) = delete;
  JobSubscription& operator=(const JobSubscription&) = delete;

  // Creates the subscription (the one held before, if any, is dropped).
  SubscriptionState subscribe();
  // Renews the lease; Gone and Unreachable leave no subscription held.
  SubscriptionState renew();
  // Makes the subscription anew when the scheduler lost it: what a watch
  // calls when it suspects a restart. Active when a subscription exists after.
  SubscriptionState check();

  std::optional<int> id() const { return id_; }
  // How often renew() must be called for the lease never to run out.
  std::chrono::seconds renewalInterval() const { return lease_ / 2; }

 private:
  std::chrono::seconds lease_;
  std::optional<int> id_;
};

}  // namespace jc
