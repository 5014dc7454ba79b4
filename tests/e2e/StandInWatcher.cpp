// A StatusNotifierWatcher for the journeys that has no host until one registers with it,
// as kded's watcher runs under a panel that only speaks XEmbed. It keeps the items
// registered with it while their names stay on the bus. Killing it takes it off the bus.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QStringList>
#include <cstdio>

namespace {

class StandInWatcher : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
  Q_PROPERTY(bool IsStatusNotifierHostRegistered READ HostRegistered)
  Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ Items)
  Q_PROPERTY(int ProtocolVersion READ ProtocolVersion)

 public:
  StandInWatcher() {
    gone_.setConnection(QDBusConnection::sessionBus());
    gone_.setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
    connect(&gone_, &QDBusServiceWatcher::serviceUnregistered, this, [this](const QString& name) {
      gone_.removeWatchedService(name);
      items_.removeAll(name);
      emit StatusNotifierItemUnregistered(name);
    });
  }

  bool HostRegistered() const { return host_; }
  QStringList Items() const { return items_; }
  int ProtocolVersion() const { return 0; }

 public Q_SLOTS:
  void RegisterStatusNotifierItem(const QString& service) {
    if (items_.contains(service)) return;
    items_.append(service);
    gone_.addWatchedService(service);
    emit StatusNotifierItemRegistered(service);
  }
  void RegisterStatusNotifierHost(const QString&) {
    host_ = true;
    emit StatusNotifierHostRegistered();
  }

 Q_SIGNALS:
  void StatusNotifierItemRegistered(const QString& service);
  void StatusNotifierItemUnregistered(const QString& service);
  void StatusNotifierHostRegistered();

 private:
  QDBusServiceWatcher gone_;
  QStringList items_;
  bool host_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  StandInWatcher watcher;
  QDBusConnection bus = QDBusConnection::sessionBus();
  bus.registerObject("/StatusNotifierWatcher", &watcher,
                     QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                         QDBusConnection::ExportAllProperties);
  if (!bus.registerService("org.kde.StatusNotifierWatcher")) {
    std::fputs("stand-in watcher: the watcher's name is taken\n", stderr);
    return 1;
  }
  return app.exec();
}

#include "StandInWatcher.moc"
