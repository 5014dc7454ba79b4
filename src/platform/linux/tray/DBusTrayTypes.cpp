#include "platform/linux/tray/DBusTrayTypes.h"

#include <QDBusMetaType>
#include <QIcon>
#include <QImage>
#include <QtEndian>

namespace platform {

DBusImageList ImagesOfIcon(const QIcon& icon) {
  DBusImageList images;
  for (int size : {16, 22, 32, 48, 64}) {
    const QImage image = icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
    if (image.isNull()) continue;
    DBusImage out{image.width(), image.height(), QByteArray()};
    out.pixels.resize(static_cast<qsizetype>(image.width()) * image.height() * 4);
    auto* dest = reinterpret_cast<uchar*>(out.pixels.data());
    for (int y = 0; y < image.height(); ++y) {
      const auto* line = reinterpret_cast<const quint32*>(image.constScanLine(y));
      for (int x = 0; x < image.width(); ++x, dest += 4) qToBigEndian(line[x], dest);
    }
    images.append(out);
  }
  return images;
}

void RegisterDBusTrayTypes() {
  qDBusRegisterMetaType<DBusImage>();
  qDBusRegisterMetaType<DBusImageList>();
  qDBusRegisterMetaType<DBusToolTip>();
  qDBusRegisterMetaType<DBusMenuLayout>();
  qDBusRegisterMetaType<DBusMenuItem>();
  qDBusRegisterMetaType<DBusMenuItemList>();
  qDBusRegisterMetaType<DBusMenuItemKeys>();
  qDBusRegisterMetaType<QList<DBusMenuItemKeys>>();
  qDBusRegisterMetaType<DBusMenuEvent>();
  qDBusRegisterMetaType<DBusMenuEventList>();
}

}  // namespace platform

using platform::DBusImage;
using platform::DBusMenuEvent;
using platform::DBusMenuItem;
using platform::DBusMenuItemKeys;
using platform::DBusMenuLayout;
using platform::DBusToolTip;

QDBusArgument& operator<<(QDBusArgument& arg, const DBusImage& image) {
  arg.beginStructure();
  arg << image.width << image.height << image.pixels;
  arg.endStructure();
  return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, DBusImage& image) {
  arg.beginStructure();
  arg >> image.width >> image.height >> image.pixels;
  arg.endStructure();
  return arg;
}

QDBusArgument& operator<<(QDBusArgument& arg, const DBusToolTip& tip) {
  arg.beginStructure();
  arg << tip.iconName << tip.images << tip.title << tip.text;
  arg.endStructure();
  return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, DBusToolTip& tip) {
  arg.beginStructure();
  arg >> tip.iconName >> tip.images >> tip.title >> tip.text;
  arg.endStructure();
  return arg;
}

// The entries travel as variants (av), each holding a layout of its own.
QDBusArgument& operator<<(QDBusArgument& arg, const DBusMenuLayout& layout) {
  arg.beginStructure();
  arg << layout.id << layout.properties;
  arg.beginArray(qMetaTypeId<QDBusVariant>());
  for (const DBusMenuLayout& entry : layout.entries) {
    arg << QDBusVariant(QVariant::fromValue(entry));
  }
  arg.endArray();
  arg.endStructure();
  return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, DBusMenuLayout& layout) {
  arg.beginStructure();
  arg >> layout.id >> layout.properties;
  layout.entries.clear();
  arg.beginArray();
  while (!arg.atEnd()) {
    QDBusVariant variant;
    arg >> variant;
    DBusMenuLayout entry;
    qvariant_cast<QDBusArgument>(variant.variant()) >> entry;
    layout.entries.append(entry);
  }
  arg.endArray();
  arg.endStructure();
  return arg;
}

QDBusArgument& operator<<(QDBusArgument& arg, const DBusMenuItem& item) {
  arg.beginStructure();
  arg << item.id << item.properties;
  arg.endStructure();
  return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, DBusMenuItem& item) {
  arg.beginStructure();
  arg >> item.id >> item.properties;
  arg.endStructure();
  return arg;
}

QDBusArgument& operator<<(QDBusArgument& arg, const DBusMenuItemKeys& keys) {
  arg.beginStructure();
  arg << keys.id << keys.names;
  arg.endStructure();
  return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, DBusMenuItemKeys& keys) {
  arg.beginStructure();
  arg >> keys.id >> keys.names;
  arg.endStructure();
  return arg;
}

QDBusArgument& operator<<(QDBusArgument& arg, const DBusMenuEvent& event) {
  arg.beginStructure();
  arg << event.id << event.eventId << event.data << event.timestamp;
  arg.endStructure();
  return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, DBusMenuEvent& event) {
  arg.beginStructure();
  arg >> event.id >> event.eventId >> event.data >> event.timestamp;
  arg.endStructure();
  return arg;
}
