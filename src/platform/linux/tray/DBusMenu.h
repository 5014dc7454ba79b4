#pragma once

#include <QDBusContext>
#include <QDBusVariant>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <unordered_map>

#include "platform/NotifyIcon.h"
#include "platform/linux/tray/DBusTrayTypes.h"

namespace platform {

// A tray icon's menu exported over the dbusmenu protocol, for hosts that draw it
// themselves. Entry 0 is the root; the other ids are the menu's own.
class DBusMenu : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
  Q_PROPERTY(uint Version READ version)
  Q_PROPERTY(QString TextDirection READ textDirection)
  Q_PROPERTY(QString Status READ status)
  Q_PROPERTY(QStringList IconThemePath READ iconThemePath)

 public:
  explicit DBusMenu(QObject* parent = nullptr);

  // Replaces the whole menu and tells the hosts what changed: the layout, when entries
  // came, went or moved (held back while a host shows the menu, until it closes); the
  // properties of the entries that stayed, since some hosts read an entry's properties
  // only once.
  void SetMenu(TrayMenuEntry menu, TrayMenuChoice onChoose);
  uint Revision() const { return revision_; }

  uint version() const { return 3; }
  QString textDirection() const { return QStringLiteral("ltr"); }
  QString status() const { return QStringLiteral("normal"); }
  QStringList iconThemePath() const { return {}; }

 public Q_SLOTS:
  uint GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames,
                 platform::DBusMenuLayout& layout);
  QList<platform::DBusMenuItem> GetGroupProperties(const QList<int>& ids,
                                                   const QStringList& propertyNames);
  QDBusVariant GetProperty(int id, const QString& name);
  void Event(int id, const QString& eventId, const QDBusVariant& data, uint timestamp);
  QList<int> EventGroup(const QList<platform::DBusMenuEvent>& events);
  bool AboutToShow(int id);
  QList<int> AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors);

 Q_SIGNALS:
  void LayoutUpdated(uint revision, int parent);
  void ItemsPropertiesUpdated(const QList<platform::DBusMenuItem>& updated,
                              const QList<platform::DBusMenuItemKeys>& removed);
  void ItemActivationRequested(int id, uint timestamp);

 private:
  struct EntryShape {
    QVariantMap properties;
    QList<int> entries;
  };
  std::unordered_map<int, EntryShape> Shapes() const;
  const TrayMenuEntry* Find(int id) const;
  DBusMenuLayout LayoutOf(const TrayMenuEntry& entry, int depth, const QStringList& names) const;
  // An event from a host; false for an id the menu does not have.
  bool Handle(int id, const QString& eventId);
  bool Choose(int id, const QString& eventId);
  void UnknownId(int id);
  // A host is about to show the top of the menu; true when a held layout went out.
  bool AboutToShowTop();
  // A host is showing the top of the menu.
  void Opening();
  void Closed();
  bool ReleaseLayout();
  void Index(const TrayMenuEntry& entry);

  TrayMenuEntry root_;
  TrayMenuChoice onChoose_;
  std::unordered_map<int, const TrayMenuEntry*> byId_;
  uint revision_ = 1;
  bool hostShowing_ = false;
  bool layoutHeld_ = false;
  QTimer holdLimit_;
};

// The properties of one entry as dbusmenu names them, only those in `names` when it is
// not empty.
QVariantMap DBusMenuProperties(const TrayMenuEntry& entry, const QStringList& names);

}  // namespace platform
