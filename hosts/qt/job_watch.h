// The calling user's jobs as the scheduler's D-Bus notifier tells of them:
// the subscription is kept alive (its lease renewed, made anew after the
// scheduler restarts), and each event becomes "a job may wait now" or "this
// job no longer waits". Whose job it is the watch does not judge: the agent
// asks the scheduler for the user's own waiting jobs on every hint.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

#include "hosts/common/job_notifications.h"

class QDBusMessage;
class QDBusServiceWatcher;

namespace jc::qt {

class JobWatch final : public QObject {
  Q_OBJECT

 public:
  explicit JobWatch(QObject* parent = nullptr);
  ~JobWatch() override;

  // Subscribes and listens; false when the system bus cannot be reached (the
  // watch then hears nothing). Without the scheduler it keeps trying.
  bool start();
  bool subscribed() const { return subscription_.id().has_value(); }

 signals:
  // A job may have come to wait (or the watch was deaf for a while).
  void jobsMayWait();
  // The job went on, was cancelled or ended: it waits no more.
  void jobLeftHold(int jobId);

 private slots:
  void onJobSignal(const QDBusMessage& message);

 private:
  void renewNow();
  void retryLater();
  void followNotifier(const QString& busName);

  JobSubscription subscription_;
  QTimer renewal_;
  QTimer retry_;
  QDBusServiceWatcher* notifier_ = nullptr;  // the notifier process's bus name
};

}  // namespace jc::qt
