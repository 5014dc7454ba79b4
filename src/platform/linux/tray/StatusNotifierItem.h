#pragma once

#include <QDBusConnection>
#include <QIcon>
#include <QObject>
#include <QString>
#include <functional>

#include "platform/linux/tray/DBusMenu.h"
#include "platform/linux/tray/DBusTrayTypes.h"

namespace platform {

// One tray icon on a StatusNotifierItem host (KDE, GNOME's AppIndicator extension, Xfce,
// waybar, ...): an item on its own session-bus connection with its menu at /MenuBar,
// registered with the host's watcher. The host's clicks come back as mouse messages.
class StatusNotifierItem : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
  Q_PROPERTY(QString Category READ category)
  Q_PROPERTY(QString Id READ id)
  Q_PROPERTY(QString Title READ title)
  Q_PROPERTY(QString Status READ status)
  Q_PROPERTY(int WindowId READ windowId)
  Q_PROPERTY(QString IconName READ themeIconName)
  Q_PROPERTY(QList<platform::DBusImage> IconPixmap READ iconPixmap)
  Q_PROPERTY(QString OverlayIconName READ iconName)
  Q_PROPERTY(QList<platform::DBusImage> OverlayIconPixmap READ noPixmap)
  Q_PROPERTY(QString AttentionIconName READ iconName)
  Q_PROPERTY(QList<platform::DBusImage> AttentionIconPixmap READ noPixmap)
  Q_PROPERTY(QString AttentionMovieName READ iconName)
  Q_PROPERTY(platform::DBusToolTip ToolTip READ toolTip)
  Q_PROPERTY(bool ItemIsMenu READ itemIsMenu)
  Q_PROPERTY(QDBusObjectPath Menu READ menu)
  Q_PROPERTY(QString IconThemePath READ iconThemePath)

 public:
  // A mouse message (WM_RBUTTONDOWN, ...) with the screen point the host gave, if any.
  using Activation = std::function<void(unsigned mouseMessage, bool hasPoint, int x, int y)>;

  explicit StatusNotifierItem(Activation activation);
  ~StatusNotifierItem() override;

  // Puts the item on the bus and asks the watcher to show it, once per watcher; false
  // when there is no session bus or no watcher.
  bool Register();
  void SetIcon(const QIcon& icon);
  void SetToolTip(const QString& tip);
  void SetMenu(TrayMenuEntry menu, TrayMenuChoice onChoose);
  QString ServiceName() const { return serviceName_; }

  QString category() const { return QStringLiteral("ApplicationStatus"); }
  QString id() const { return QStringLiteral("jabberwell"); }
  QString title() const;
  QString status() const { return QStringLiteral("Active"); }
  int windowId() const { return 0; }
  QString iconName() const { return {}; }
  // The symbolic icon by its theme name, which hosts colour to suit the panel, when it is
  // installed; the pixmaps serve hosts that find no such icon.
  QString themeIconName() const;
  // The icons of a portable folder (share/icons beside the executable), which hosts add
  // to their theme search.
  QString iconThemePath() const;
  DBusImageList iconPixmap() const { return images_; }
  DBusImageList noPixmap() const { return {}; }
  DBusToolTip toolTip() const;
  bool itemIsMenu() const { return false; }
  QDBusObjectPath menu() const;

 public Q_SLOTS:
  void ContextMenu(int x, int y);
  void Activate(int x, int y);
  void SecondaryActivate(int x, int y);
  void Scroll(int delta, const QString& orientation);
  void ProvideXdgActivationToken(const QString& token);

 Q_SIGNALS:
  void NewTitle();
  void NewIcon();
  void NewToolTip();
  void NewStatus(const QString& status);

 private:
  void Deliver(unsigned mouseMessage, int x, int y);

  Activation activation_;
  QDBusConnection bus_;
  QString serviceName_;
  QString registeredWith_;  // the watcher's owner that was told of the item
  DBusMenu menu_;
  DBusImageList images_;
  QString tip_;
};

}  // namespace platform
