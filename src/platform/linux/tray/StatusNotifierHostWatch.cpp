#include "platform/linux/tray/StatusNotifierHostWatch.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QPointer>

namespace platform {

namespace {

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");

// A watcher that hangs costs the icon this long before it goes to an XEmbed host.
constexpr int kAnswerTimeoutMs = 5000;

}  // namespace

StatusNotifierHostWatch* StatusNotifierHostWatch::Instance() {
  static QPointer<StatusNotifierHostWatch> watch;
  if (!watch && QCoreApplication::instance()) {
    watch = new StatusNotifierHostWatch();
    watch->setParent(QCoreApplication::instance());
  }
  return watch;
}

StatusNotifierHostWatch::StatusNotifierHostWatch() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected() || !bus.interface()) {
    hostThere_ = false;
    return;
  }
  watcher_.setConnection(bus);
  watcher_.setWatchMode(QDBusServiceWatcher::WatchForOwnerChange);
  watcher_.addWatchedService(kWatcherService);
  connect(
      &watcher_, &QDBusServiceWatcher::serviceOwnerChanged, this,
      [this](const QString&, const QString&, const QString& owner) { WatcherOwnerChanged(owner); });
  // The unregistering signal is KDE's; other watchers only tell of a new host.
  for (const char* signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"}) {
    bus.connect(kWatcherService, kWatcherPath, kWatcherService, QString::fromLatin1(signal), this,
                SLOT(Ask()));
  }
  WatcherOwnerChanged(bus.interface()->serviceOwner(kWatcherService));
}

void StatusNotifierHostWatch::WatcherOwnerChanged(const QString& owner) {
  if (owner.isEmpty()) {
    ++question_;
    Settle(false);
    return;
  }
  hostThere_.reset();
  Ask();
}

void StatusNotifierHostWatch::Ask() {
  QDBusMessage get = QDBusMessage::createMethodCall(
      kWatcherService, kWatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
      QStringLiteral("Get"));
  get << kWatcherService << QStringLiteral("IsStatusNotifierHostRegistered");
  auto* pending = new QDBusPendingCallWatcher(
      QDBusConnection::sessionBus().asyncCall(get, kAnswerTimeoutMs), this);
  connect(pending, &QDBusPendingCallWatcher::finished, this,
          [this, question = ++question_](QDBusPendingCallWatcher* call) {
            call->deleteLater();
            if (question != question_) return;
            // A watcher that cannot answer is taken for one without a host.
            const QDBusPendingReply<QDBusVariant> reply = *call;
            Settle(!reply.isError() && reply.value().variant().toBool());
          });
}

void StatusNotifierHostWatch::Settle(bool hostThere) {
  hostThere_ = hostThere;
  if (changed_) changed_(hostThere);
}

}  // namespace platform
