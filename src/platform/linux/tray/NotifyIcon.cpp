#include "platform/NotifyIcon.h"

#include <QApplication>
#include <QIcon>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QWidget>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "platform/CallbackGuard.h"
#include "platform/Icons.h"
#include "platform/Observation.h"
#include "platform/WindowHandles.h"
#include "platform/linux/QtBridge.h"
#include "platform/linux/tray/StatusNotifierHostWatch.h"
#include "platform/linux/tray/StatusNotifierItem.h"
#include "platform/linux/tray/TrayHostWatch.h"
#include "platform/linux/window/InputPointScope.h"

namespace platform {

namespace {

// One icon, shown through whichever protocol the desktop's tray host speaks: a
// StatusNotifierItem while a watcher on the session bus has a host, else Qt's icon, which
// docks into an XEmbed host.
struct TrayEntry {
  TrayIconState state;
  QSystemTrayIcon* icon = nullptr;
  std::unique_ptr<StatusNotifierItem> item;
  TrayMenuEntry menu;
  TrayMenuChoice choose;
};

using Key = std::pair<HWND, UINT>;

std::map<Key, TrayEntry>& Entries() {
  static std::map<Key, TrayEntry> entries;
  return entries;
}

ShellNotifyHook& Hook() {
  static ShellNotifyHook hook;
  return hook;
}

// The icon whose activation is being delivered; it must outlive its own signal.
QSystemTrayIcon* deliveringIcon = nullptr;

std::string TipOf(const NOTIFYICONDATAA& data) {
  return std::string(data.szTip, strnlen(data.szTip, sizeof data.szTip - 1));
}

// Qt's report of a mouse action on the icon (QSystemTrayIcon::ActivationReason) as the
// mouse message of the callback; 0 for anything else.
UINT MouseMessageForActivation(int reason) {
  switch (reason) {
    case QSystemTrayIcon::Context:
      return WM_RBUTTONDOWN;
    case QSystemTrayIcon::Trigger:
      return WM_LBUTTONDOWN;
    case QSystemTrayIcon::DoubleClick:
      return WM_LBUTTONDBLCLK;
    case QSystemTrayIcon::MiddleClick:
      return WM_MBUTTONDOWN;
    default:
      return 0;
  }
}

void Deliver(HWND window, UINT id, UINT mouseMessage) {
  auto it = Entries().find({window, id});
  if (it == Entries().end() || mouseMessage == 0) return;
  const UINT callback = it->second.state.callbackMessage;
  if (callback == 0) return;
  RunGuarded([=] { SendMessageA(window, callback, id, static_cast<LPARAM>(mouseMessage)); });
}

// Shows again every Qt icon that should be on screen, for a tray host that came late.
void ReshowAll() {
  for (auto& [key, entry] : Entries()) {
    if (entry.icon && !entry.icon->icon().isNull()) {
      entry.icon->hide();
      entry.icon->show();
    }
  }
}

void DestroyQtIcon(QSystemTrayIcon* icon) {
  if (!icon) return;
  icon->hide();
  if (icon == deliveringIcon) {
    icon->deleteLater();
  } else {
    delete icon;
  }
}

void CreateQtIcon(TrayEntry& entry, HWND window, UINT id) {
  NameTrayWindows();
  entry.icon = new QSystemTrayIcon();
  QObject::connect(entry.icon, &QSystemTrayIcon::activated,
                   [window, id, icon = entry.icon](QSystemTrayIcon::ActivationReason r) {
                     QSystemTrayIcon* outer = std::exchange(deliveringIcon, icon);
                     Deliver(window, id, MouseMessageForActivation(r));
                     deliveringIcon = outer;
                   });
}

// A host's choice may arrive after the icon went: it then reaches nobody.
TrayMenuChoice ChooserFor(HWND window, UINT id) {
  return [window, id](int chosen) {
    auto it = Entries().find({window, id});
    if (it == Entries().end() || !it->second.choose) return;
    const TrayMenuChoice choose = it->second.choose;
    RunGuarded([&] { choose(chosen); });
  };
}

void CreateItem(TrayEntry& entry, HWND window, UINT id) {
  entry.item = std::make_unique<StatusNotifierItem>(
      [window, id](unsigned mouseMessage, bool hasPoint, int x, int y) {
        if (!hasPoint) return Deliver(window, id, mouseMessage);
        InputPointScope at({x, y});
        Deliver(window, id, mouseMessage);
      });
  entry.item->SetMenu(entry.menu, ChooserFor(window, id));
}

void ApplyToView(TrayEntry& entry) {
  const QIcon picture = IconFromHandle(entry.state.icon);
  const QString tip = QString::fromLocal8Bit(entry.state.tip);
  if (entry.item) {
    entry.item->SetIcon(picture);
    entry.item->SetToolTip(tip);
    // Like Qt's icon, the item goes on show once it has a picture.
    if (!picture.isNull()) entry.item->Register();
    return;
  }
  if (!entry.icon) return;
  entry.icon->setIcon(picture);
  entry.icon->setToolTip(tip);
  // Qt refuses to show an icon without a picture; it shows once one is given.
  if (!entry.icon->isVisible() && !entry.icon->icon().isNull()) {
    entry.icon->show();
    ReshowWhenTrayHostAppears(&ReshowAll);
  }
}

// Shows the icon through the protocol the desktop's host speaks now: our own item while a
// StatusNotifierItem host is registered, else Qt's icon, which docks into an XEmbed host.
void ShowThroughHost(TrayEntry& entry, HWND window, UINT id, bool itemHost) {
  if (itemHost && !entry.item) {
    DestroyQtIcon(std::exchange(entry.icon, nullptr));
    CreateItem(entry, window, id);
  } else if (!itemHost && !entry.icon) {
    entry.item.reset();
    CreateQtIcon(entry, window, id);
  }
  ApplyToView(entry);
}

// Hosts come, go and restart while the program runs; a watcher restarted with its host
// is told of the items again.
void HostChanged(bool itemHost) {
  for (auto& [key, entry] : Entries()) ShowThroughHost(entry, key.first, key.second, itemHost);
}

// While a watcher that just came is asked for its host, the icon waits for the answer.
void CreateView(TrayEntry& entry, HWND window, UINT id) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
  StatusNotifierHostWatch* watch = StatusNotifierHostWatch::Instance();
  watch->SetOnChange(&HostChanged);
  if (const std::optional<bool> itemHost = watch->HostThere()) {
    ShowThroughHost(entry, window, id, *itemHost);
  }
}

}  // namespace

BOOL Shell_NotifyIconA(DWORD message, const NOTIFYICONDATAA* data) {
  if (!data) return 0;
  if (Hook()) Hook()(message, *data);
  const Key key{data->hWnd, data->uID};
  auto& entries = Entries();
  auto it = entries.find(key);
  switch (message) {
    case NIM_ADD:
    case NIM_MODIFY: {
      const bool adding = message == NIM_ADD;
      if (adding == (it != entries.end())) return 0;
      TrayEntry& entry = adding ? entries[key] : it->second;
      if (data->uFlags & NIF_MESSAGE) entry.state.callbackMessage = data->uCallbackMessage;
      if (data->uFlags & NIF_ICON) entry.state.icon = data->hIcon;
      entry.state.tip = (data->uFlags & NIF_TIP) ? TipOf(*data) : std::string();
      if (adding) CreateView(entry, key.first, key.second);
      ApplyToView(entry);
      return 1;
    }
    case NIM_DELETE: {
      if (it == entries.end()) return 0;
      QSystemTrayIcon* icon = it->second.icon;
      entries.erase(it);
      DestroyQtIcon(icon);
      return 1;
    }
    default:
      return 0;
  }
}

BOOL SetNotifyIconMenu(HWND window, UINT id, TrayMenuEntry menu, TrayMenuChoice onChoose) {
  auto it = Entries().find({window, id});
  if (it == Entries().end()) return 0;
  TrayEntry& entry = it->second;
  entry.menu = std::move(menu);
  entry.choose = std::move(onChoose);
  if (entry.item) entry.item->SetMenu(entry.menu, ChooserFor(window, id));
  return 1;
}

void SetShellNotifyHook(ShellNotifyHook hook) {
  Hook() = std::move(hook);
}

std::optional<TrayIconState> FindTrayIcon(HWND window, UINT id) {
  auto it = Entries().find({window, id});
  if (it == Entries().end()) return std::nullopt;
  return it->second.state;
}

int TrayIconCount() {
  return static_cast<int>(Entries().size());
}

void ActivateTrayIcon(HWND window, UINT id, int reason) {
  Deliver(window, id, MouseMessageForActivation(reason));
}

}  // namespace platform
