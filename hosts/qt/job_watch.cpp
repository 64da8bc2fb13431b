#include "hosts/qt/job_watch.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <chrono>

namespace jc::qt {
namespace {

const QString kPath = QStringLiteral("/org/cups/cupsd/Notifier");
const QString kInterface = QStringLiteral("org.cups.cupsd.Notifier");
// The job's id and state in the notifier's job signals: after the text, the
// printer's URI, name, state, state reasons and whether it accepts jobs.
constexpr int kJobIdArgument = 6;
constexpr int kJobStateArgument = 7;
constexpr std::chrono::milliseconds kRetry{1000};

}  // namespace

JobWatch::JobWatch(QObject* parent) : QObject(parent) {
  renewal_.setInterval(
      std::chrono::duration_cast<std::chrono::milliseconds>(subscription_.renewalInterval()));
  connect(&renewal_, &QTimer::timeout, this, [this] { renewNow(); });
  retry_.setSingleShot(true);
  retry_.setInterval(kRetry);
  connect(&retry_, &QTimer::timeout, this, [this] {
    if (subscription_.check() != SubscriptionState::Active) return retryLater();
    renewal_.start();
    emit jobsMayWait();  // events of the deaf time are lost: look again
  });
}

JobWatch::~JobWatch() = default;

bool JobWatch::start() {
  QDBusConnection bus = QDBusConnection::systemBus();
  if (!bus.isConnected()) return false;
  for (const char* member : {"JobCreated", "JobState", "JobCompleted"})
    bus.connect(QString(), kPath, kInterface, QString::fromLatin1(member), this,
                SLOT(onJobSignal(QDBusMessage)));
  notifier_ = new QDBusServiceWatcher(this);
  notifier_->setConnection(bus);
  notifier_->setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
  // The notifier ends with the scheduler: the subscription may have gone too.
  connect(notifier_, &QDBusServiceWatcher::serviceUnregistered, this,
          [this](const QString&) { retryLater(); });
  if (subscription_.subscribe() == SubscriptionState::Active)
    renewal_.start();
  else
    retryLater();
  return true;
}

void JobWatch::renewNow() {
  if (subscription_.renew() == SubscriptionState::Active) return;
  renewal_.stop();
  if (subscription_.subscribe() != SubscriptionState::Active) return retryLater();
  renewal_.start();
  emit jobsMayWait();
}

void JobWatch::retryLater() {
  renewal_.stop();
  if (!retry_.isActive()) retry_.start();
}

void JobWatch::followNotifier(const QString& busName) {
  if (!notifier_ || notifier_->watchedServices().contains(busName)) return;
  notifier_->setWatchedServices({busName});
}

void JobWatch::onJobSignal(const QDBusMessage& message) {
  const auto kind = jobEventKindOf(message.member().toStdString());
  const QList<QVariant> arguments = message.arguments();
  if (!kind || arguments.size() <= kJobStateArgument) return;
  followNotifier(message.service());
  const int job = arguments[kJobIdArgument].toInt();
  const int state = arguments[kJobStateArgument].toInt();
  if (jobStillHeld(state))
    emit jobsMayWait();
  else
    emit jobLeftHold(job);
}

}  // namespace jc::qt
