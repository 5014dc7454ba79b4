#include "platform/linux/tray/DBusMenu.h"

#include <QDBusError>
#include <QMetaObject>
#include <utility>

namespace platform {

namespace {

// dbusmenu marks the access key with "_" where the menu uses "&".
QString LabelOf(const std::string& caption) {
  const QString text = QString::fromLocal8Bit(caption);
  QString label;
  label.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == u'_') {
      label += QStringLiteral("__");
    } else if (c == u'&' && i + 1 < text.size()) {
      label += text[i + 1] == u'&' ? QChar(u'&') : QChar(u'_');
      if (text[i + 1] == u'&') ++i;
    } else {
      label += c;
    }
  }
  return label;
}

bool IsSeparator(const TrayMenuEntry& entry) {
  return entry.caption == "-";
}

// A host that says the menu opened but never that it closed holds changes back no longer.
constexpr int kLongestHoldMs = 30000;

}  // namespace

QVariantMap DBusMenuProperties(const TrayMenuEntry& entry, const QStringList& names) {
  QVariantMap all;
  if (IsSeparator(entry)) {
    all.insert(QStringLiteral("type"), QStringLiteral("separator"));
  } else {
    all.insert(QStringLiteral("label"), LabelOf(entry.caption));
    if (!entry.enabled) all.insert(QStringLiteral("enabled"), false);
    if (entry.radio || entry.checked) {
      all.insert(QStringLiteral("toggle-type"),
                 entry.radio ? QStringLiteral("radio") : QStringLiteral("checkmark"));
      all.insert(QStringLiteral("toggle-state"), entry.checked ? 1 : 0);
    }
    if (!entry.entries.empty()) {
      all.insert(QStringLiteral("children-display"), QStringLiteral("submenu"));
    }
  }
  if (names.isEmpty()) return all;
  QVariantMap wanted;
  for (const QString& name : names) {
    if (all.contains(name)) wanted.insert(name, all.value(name));
  }
  return wanted;
}

DBusMenu::DBusMenu(QObject* parent) : QObject(parent) {
  Index(root_);
  holdLimit_.setSingleShot(true);
  holdLimit_.setInterval(kLongestHoldMs);
  connect(&holdLimit_, &QTimer::timeout, this, [this] { Closed(); });
}

void DBusMenu::SetMenu(TrayMenuEntry menu, TrayMenuChoice onChoose) {
  const std::unordered_map<int, EntryShape> before = Shapes();
  root_ = std::move(menu);
  root_.id = 0;
  onChoose_ = std::move(onChoose);
  byId_.clear();
  Index(root_);
  const std::unordered_map<int, EntryShape> after = Shapes();

  bool layoutChanged = before.size() != after.size();
  QList<DBusMenuItem> updated;
  QList<DBusMenuItemKeys> removed;
  for (const auto& [id, now] : after) {
    auto was = before.find(id);
    if (was == before.end()) {
      layoutChanged = true;
      continue;
    }
    layoutChanged |= was->second.entries != now.entries;
    DBusMenuItem changes{id, {}};
    for (auto it = now.properties.begin(); it != now.properties.end(); ++it) {
      if (was->second.properties.value(it.key()) != it.value()) {
        changes.properties.insert(it.key(), it.value());
      }
    }
    if (!changes.properties.isEmpty()) updated.append(changes);
    DBusMenuItemKeys gone{id, {}};
    for (const QString& key : was->second.properties.keys()) {
      if (!now.properties.contains(key)) gone.names.append(key);
    }
    if (!gone.names.isEmpty()) removed.append(gone);
  }
  if (!updated.isEmpty() || !removed.isEmpty()) emit ItemsPropertiesUpdated(updated, removed);
  if (!layoutChanged) return;
  // A host rebuilds an open menu in place, so the one line shown during the splash would
  // grow past the screen's edge: it hears of the new layout once the menu closed.
  layoutHeld_ = true;
  if (!hostShowing_) ReleaseLayout();
}

bool DBusMenu::ReleaseLayout() {
  if (!std::exchange(layoutHeld_, false)) return false;
  emit LayoutUpdated(++revision_, 0);
  return true;
}

std::unordered_map<int, DBusMenu::EntryShape> DBusMenu::Shapes() const {
  std::unordered_map<int, EntryShape> shapes;
  shapes.reserve(byId_.size());
  for (const auto& [id, entry] : byId_) {
    EntryShape& shape = shapes[id];
    shape.properties = DBusMenuProperties(*entry, {});
    for (const TrayMenuEntry& child : entry->entries) shape.entries.append(child.id);
  }
  return shapes;
}

void DBusMenu::Index(const TrayMenuEntry& entry) {
  byId_[entry.id] = &entry;
  for (const TrayMenuEntry& child : entry.entries) Index(child);
}

const TrayMenuEntry* DBusMenu::Find(int id) const {
  auto it = byId_.find(id);
  return it == byId_.end() ? nullptr : it->second;
}

DBusMenuLayout DBusMenu::LayoutOf(const TrayMenuEntry& entry, int depth,
                                  const QStringList& names) const {
  DBusMenuLayout layout{entry.id, DBusMenuProperties(entry, names), {}};
  if (entry.id == 0)
    layout.properties.insert(QStringLiteral("children-display"), QStringLiteral("submenu"));
  if (depth == 0) return layout;
  for (const TrayMenuEntry& child : entry.entries) {
    layout.entries.append(LayoutOf(child, depth < 0 ? -1 : depth - 1, names));
  }
  return layout;
}

uint DBusMenu::GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames,
                         DBusMenuLayout& layout) {
  const TrayMenuEntry* parent = Find(parentId);
  if (!parent) {
    UnknownId(parentId);
    return revision_;
  }
  layout = LayoutOf(*parent, recursionDepth, propertyNames);
  return revision_;
}

DBusMenuItemList DBusMenu::GetGroupProperties(const QList<int>& ids,
                                              const QStringList& propertyNames) {
  DBusMenuItemList items;
  for (int id : ids) {
    if (const TrayMenuEntry* entry = Find(id)) {
      items.append({id, DBusMenuProperties(*entry, propertyNames)});
    }
  }
  return items;
}

QDBusVariant DBusMenu::GetProperty(int id, const QString& name) {
  const TrayMenuEntry* entry = Find(id);
  if (!entry) {
    UnknownId(id);
    return {};
  }
  return QDBusVariant(DBusMenuProperties(*entry, {name}).value(name));
}

void DBusMenu::UnknownId(int id) {
  if (calledFromDBus())
    sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("no entry %1").arg(id));
}

void DBusMenu::Event(int id, const QString& eventId, const QDBusVariant&, uint) {
  Handle(id, eventId);
}

QList<int> DBusMenu::EventGroup(const DBusMenuEventList& events) {
  QList<int> unknown;
  for (const DBusMenuEvent& event : events) {
    if (!Handle(event.id, event.eventId)) unknown.append(event.id);
  }
  return unknown;
}

bool DBusMenu::Handle(int id, const QString& eventId) {
  if (id == 0 && eventId == QLatin1String("opened")) {
    Opening();
    // A host that tells of the opening tells of the closing too (Plasma and LXQt do;
    // xfce4-panel tells of neither).
    hostShowing_ = true;
    holdLimit_.start();
  }
  if (id == 0 && eventId == QLatin1String("closed")) Closed();
  return Choose(id, eventId);
}

bool DBusMenu::Choose(int id, const QString& eventId) {
  const TrayMenuEntry* entry = Find(id);
  if (!entry) return false;
  if (eventId != QLatin1String("clicked") || !entry->enabled || !entry->entries.empty() ||
      IsSeparator(*entry) || !onChoose_) {
    return true;
  }
  // The choice runs once the host has its answer, as a click in a drawn menu runs once
  // the menu has closed: the handler may open modal windows.
  QMetaObject::invokeMethod(
      this, [choose = onChoose_, id] { choose(id); }, Qt::QueuedConnection);
  return true;
}

bool DBusMenu::AboutToShow(int id) {
  return id == 0 && AboutToShowTop();
}

QList<int> DBusMenu::AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors) {
  QList<int> needUpdate;
  for (int id : ids) {
    if (id == 0 && AboutToShowTop()) needUpdate.append(0);
    if (!Find(id)) idErrors.append(id);
  }
  return needUpdate;
}

bool DBusMenu::AboutToShowTop() {
  Opening();
  // The host builds the menu now, whether or not it told of the last one's closing. It
  // may still be showing: GNOME tells of the opening first.
  return ReleaseLayout();
}

void DBusMenu::Opening() {
  // At once, not queued as a choice is: whoever listens gets ready while the user looks.
  if (onChoose_) onChoose_(0);
}

void DBusMenu::Closed() {
  hostShowing_ = false;
  holdLimit_.stop();
  ReleaseLayout();
}

}  // namespace platform
