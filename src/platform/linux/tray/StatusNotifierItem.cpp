#include "platform/linux/tray/StatusNotifierItem.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFileInfo>
#include <QStandardPaths>
#include <utility>

#include "platform/NotifyIcon.h"

namespace platform {

namespace {

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kSymbolicIcon = QStringLiteral("org.jabberwell.Jabberwell-symbolic");
const QString kSymbolicIconFile = QStringLiteral("hicolor/symbolic/apps/") + kSymbolicIcon + ".svg";

int nextItemNumber = 0;

constexpr QDBusConnection::RegisterOptions kExported = QDBusConnection::ExportAllSlots |
                                                       QDBusConnection::ExportAllSignals |
                                                       QDBusConnection::ExportAllProperties;

}  // namespace

StatusNotifierItem::StatusNotifierItem(Activation activation)
    : activation_(std::move(activation)),
      bus_(QDBusConnection::connectToBus(
          QDBusConnection::SessionBus, QStringLiteral("jabberwell-tray-%1").arg(++nextItemNumber))),
      serviceName_(QStringLiteral("org.kde.StatusNotifierItem-%1-%2")
                       .arg(QCoreApplication::applicationPid())
                       .arg(nextItemNumber)) {
  RegisterDBusTrayTypes();
}

StatusNotifierItem::~StatusNotifierItem() {
  // Giving up the name is what tells the watcher the item is gone.
  const QString name = bus_.name();
  bus_.unregisterService(serviceName_);
  bus_.unregisterObject(QStringLiteral("/MenuBar"));
  bus_.unregisterObject(QStringLiteral("/StatusNotifierItem"));
  bus_ = QDBusConnection(QString());
  QDBusConnection::disconnectFromBus(name);
}

bool StatusNotifierItem::Register() {
  if (!bus_.isConnected() || !bus_.interface()) return false;
  if (bus_.objectRegisteredAt(QStringLiteral("/StatusNotifierItem")) == nullptr) {
    bus_.registerObject(QStringLiteral("/StatusNotifierItem"), this, kExported);
    bus_.registerObject(QStringLiteral("/MenuBar"), &menu_, kExported);
    bus_.registerService(serviceName_);
  }
  // Each watcher hears of the item once; a restarted one has a new owner.
  const QString watcher = bus_.interface()->serviceOwner(kWatcherService);
  if (watcher.isEmpty()) return false;
  if (watcher == registeredWith_) return true;
  registeredWith_ = watcher;
  QDBusMessage call =
      QDBusMessage::createMethodCall(kWatcherService, QStringLiteral("/StatusNotifierWatcher"),
                                     kWatcherService, QStringLiteral("RegisterStatusNotifierItem"));
  call << serviceName_;
  bus_.call(call, QDBus::NoBlock);
  return true;
}

void StatusNotifierItem::SetIcon(const QIcon& icon) {
  images_ = ImagesOfIcon(icon);
  emit NewIcon();
}

void StatusNotifierItem::SetToolTip(const QString& tip) {
  if (tip == tip_) return;
  tip_ = tip;
  emit NewToolTip();
}

void StatusNotifierItem::SetMenu(TrayMenuEntry menu, TrayMenuChoice onChoose) {
  menu_.SetMenu(std::move(menu), std::move(onChoose));
}

QString StatusNotifierItem::themeIconName() const {
  const bool installed =
      !iconThemePath().isEmpty() ||
      !QStandardPaths::locate(QStandardPaths::GenericDataLocation, "icons/" + kSymbolicIconFile)
           .isEmpty();
  return installed ? kSymbolicIcon : QString();
}

QString StatusNotifierItem::iconThemePath() const {
  const QString icons = QCoreApplication::applicationDirPath() + "/share/icons";
  return QFileInfo::exists(icons + "/" + kSymbolicIconFile) ? icons : QString();
}

QString StatusNotifierItem::title() const {
  return QStringLiteral("Jabberwell v3");
}

DBusToolTip StatusNotifierItem::toolTip() const {
  return {QString(), {}, tip_, QString()};
}

QDBusObjectPath StatusNotifierItem::menu() const {
  return QDBusObjectPath(QStringLiteral("/MenuBar"));
}

void StatusNotifierItem::ContextMenu(int x, int y) {
  Deliver(WM_RBUTTONDOWN, x, y);
}

void StatusNotifierItem::Activate(int x, int y) {
  Deliver(WM_LBUTTONDOWN, x, y);
}

void StatusNotifierItem::SecondaryActivate(int x, int y) {
  Deliver(WM_MBUTTONDOWN, x, y);
}

void StatusNotifierItem::Scroll(int, const QString&) {}

// Plasma hands over a token before each click, for a window the click may raise. It
// serves Wayland clients; ours are X11 windows, which do without.
void StatusNotifierItem::ProvideXdgActivationToken(const QString&) {}

void StatusNotifierItem::Deliver(unsigned mouseMessage, int x, int y) {
  // Hosts that know no point send 0, 0. The action runs after the host has its answer,
  // since it may open a menu that runs its own event loop, and it may delete this item.
  QMetaObject::invokeMethod(
      this,
      [activation = activation_, mouseMessage, x, y] {
        activation(mouseMessage, x != 0 || y != 0, x, y);
      },
      Qt::QueuedConnection);
}

}  // namespace platform
