#include "platform/NotifyIcon.h"

#include <QApplication>
#include <QIcon>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QWidget>
#include <cstring>
#include <map>
#include <memory>
#include <utility>

#include "platform/CallbackGuard.h"
#include "platform/Icons.h"
#include "platform/TrayHostWatch.h"
#include "platform/WindowHandles.h"

namespace platform {

namespace {

struct TrayEntry {
  TrayIconState state;
  QSystemTrayIcon* icon = nullptr;  // none without a QApplication
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

void Deliver(HWND window, UINT id, UINT mouseMessage) {
  auto it = Entries().find({window, id});
  if (it == Entries().end() || mouseMessage == 0) return;
  const UINT callback = it->second.state.callbackMessage;
  if (callback == 0) return;
  RunGuarded([=] { SendMessageA(window, callback, id, static_cast<LPARAM>(mouseMessage)); });
}

// Shows again every icon that should be on screen, for a tray host that came late.
void ReshowAll() {
  for (auto& [key, entry] : Entries()) {
    if (entry.icon && !entry.icon->icon().isNull()) {
      entry.icon->hide();
      entry.icon->show();
    }
  }
}

void ApplyToQt(TrayEntry& entry, bool create, HWND window, UINT id) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
  if (create) {
    NameTrayWindows();
    entry.icon = new QSystemTrayIcon();
    QObject::connect(entry.icon, &QSystemTrayIcon::activated,
                     [window, id, icon = entry.icon](QSystemTrayIcon::ActivationReason r) {
                       QSystemTrayIcon* outer = std::exchange(deliveringIcon, icon);
                       Deliver(window, id, MouseMessageForActivation(r));
                       deliveringIcon = outer;
                     });
  }
  if (!entry.icon) return;
  entry.icon->setIcon(IconFromHandle(entry.state.icon));
  entry.icon->setToolTip(QString::fromLocal8Bit(entry.state.tip));
  // Qt refuses to show an icon without a picture; it shows once one is given.
  if (!entry.icon->isVisible() && !entry.icon->icon().isNull()) {
    entry.icon->show();
    ReshowWhenTrayHostAppears(&ReshowAll);
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
      ApplyToQt(entry, adding, key.first, key.second);
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

void ActivateTrayIcon(HWND window, UINT id, int reason) {
  Deliver(window, id, MouseMessageForActivation(reason));
}

}  // namespace platform
