// A StatusNotifierWatcher for the journeys that has no host until one registers with it,
// as kded's watcher runs under a panel that only speaks XEmbed. Killing it takes it off
// the bus.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QObject>
#include <QStringList>

namespace {

class StandInWatcher : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
  Q_PROPERTY(bool IsStatusNotifierHostRegistered MEMBER host_)
  Q_PROPERTY(QStringList RegisteredStatusNotifierItems MEMBER items_)

 public Q_SLOTS:
  void RegisterStatusNotifierItem(const QString& service) { items_.append(service); }
  void RegisterStatusNotifierHost(const QString&) {
    host_ = true;
    emit StatusNotifierHostRegistered();
  }

 Q_SIGNALS:
  void StatusNotifierHostRegistered();

 private:
  QStringList items_;
  bool host_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  StandInWatcher watcher;
  QDBusConnection bus = QDBusConnection::sessionBus();
  bus.registerObject("/StatusNotifierWatcher", &watcher, QDBusConnection::ExportAllContents);
  if (!bus.registerService("org.kde.StatusNotifierWatcher")) return 1;
  return app.exec();
}

#include "StandInWatcher.moc"
