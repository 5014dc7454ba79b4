#pragma once

#include <QDBusServiceWatcher>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

namespace platform {

// Follows whether a StatusNotifierItem host is there to show items: a watcher on the
// session bus that reports a registered host. A watcher alone shows nothing (kded's
// watcher under an XEmbed-only panel, for one), so only its answer counts.
class StatusNotifierHostWatch : public QObject {
  Q_OBJECT

 public:
  using Changed = std::function<void(bool hostThere)>;

  // The process's one watch, made on first use; null without a Qt application.
  static StatusNotifierHostWatch* Instance();

  // Whether a host is there; nullopt while a watcher that just came is being asked.
  std::optional<bool> HostThere() const { return hostThere_; }
  // Called with every answer: when a host comes or goes, when the watcher leaves, and
  // when a watcher that came or restarted tells whether it has one.
  void SetOnChange(Changed changed) { changed_ = std::move(changed); }

 private Q_SLOTS:
  void Ask();

 private:
  StatusNotifierHostWatch();
  void WatcherOwnerChanged(const QString& owner);
  void Settle(bool hostThere);

  QDBusServiceWatcher watcher_;
  std::optional<bool> hostThere_;
  Changed changed_;
  unsigned question_ = 0;  // answers to older questions are dropped
};

}  // namespace platform
