#include "tray/wkTrayIcon.h"

#include "platform/Icons.h"
#include "platform/linux/QtBridge.h"
#include "tray/wkTray.h"

namespace tray {

TwkTrayIcon::~TwkTrayIcon() {
  if (handle_) platform::DestroyIcon(handle_);
}

void TwkTrayIcon::Assign(const QIcon& icon) {
  // The new handle is taken before the old one goes, so a new picture never gets the
  // handle the tray still shows.
  const platform::HICON old = handle_;
  icon_ = icon;
  handle_ = platform::RegisterIcon(icon_);
  if (old) platform::DestroyIcon(old);
  if (Tray) Tray->RefreshIcon();
}

}  // namespace tray
