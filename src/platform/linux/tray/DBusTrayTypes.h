#pragma once

#include <QByteArray>
#include <QDBusArgument>
#include <QDBusVariant>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariantMap>

class QIcon;

// The D-Bus shapes of the StatusNotifierItem and dbusmenu protocols.
namespace platform {

// One picture of an icon: ARGB32 pixels in network byte order.
struct DBusImage {
  int width = 0;
  int height = 0;
  QByteArray pixels;
};
using DBusImageList = QList<DBusImage>;

// The pictures of an icon at the sizes tray hosts ask for.
DBusImageList ImagesOfIcon(const QIcon& icon);

struct DBusToolTip {
  QString iconName;
  DBusImageList images;
  QString title;
  QString text;
};

// A menu entry with its properties and, as variants, its entries.
struct DBusMenuLayout {
  int id = 0;
  QVariantMap properties;
  QList<DBusMenuLayout> entries;
};

struct DBusMenuItem {
  int id = 0;
  QVariantMap properties;
};
using DBusMenuItemList = QList<DBusMenuItem>;

// The names of properties an entry no longer has.
struct DBusMenuItemKeys {
  int id = 0;
  QStringList names;
};

struct DBusMenuEvent {
  int id = 0;
  QString eventId;
  QDBusVariant data;
  uint timestamp = 0;
};
using DBusMenuEventList = QList<DBusMenuEvent>;

// Makes the shapes known to Qt's D-Bus marshalling; call before exporting objects.
void RegisterDBusTrayTypes();

}  // namespace platform

Q_DECLARE_METATYPE(platform::DBusImage)
Q_DECLARE_METATYPE(platform::DBusToolTip)
Q_DECLARE_METATYPE(platform::DBusMenuLayout)
Q_DECLARE_METATYPE(platform::DBusMenuItem)
Q_DECLARE_METATYPE(platform::DBusMenuItemKeys)
Q_DECLARE_METATYPE(platform::DBusMenuEvent)

QDBusArgument& operator<<(QDBusArgument& arg, const platform::DBusImage& image);
const QDBusArgument& operator>>(const QDBusArgument& arg, platform::DBusImage& image);
QDBusArgument& operator<<(QDBusArgument& arg, const platform::DBusToolTip& tip);
const QDBusArgument& operator>>(const QDBusArgument& arg, platform::DBusToolTip& tip);
QDBusArgument& operator<<(QDBusArgument& arg, const platform::DBusMenuLayout& layout);
const QDBusArgument& operator>>(const QDBusArgument& arg, platform::DBusMenuLayout& layout);
QDBusArgument& operator<<(QDBusArgument& arg, const platform::DBusMenuItem& item);
const QDBusArgument& operator>>(const QDBusArgument& arg, platform::DBusMenuItem& item);
QDBusArgument& operator<<(QDBusArgument& arg, const platform::DBusMenuItemKeys& keys);
const QDBusArgument& operator>>(const QDBusArgument& arg, platform::DBusMenuItemKeys& keys);
QDBusArgument& operator<<(QDBusArgument& arg, const platform::DBusMenuEvent& event);
const QDBusArgument& operator>>(const QDBusArgument& arg, platform::DBusMenuEvent& event);
