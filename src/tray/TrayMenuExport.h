#pragma once

#include <QTimer>

#include "platform/NotifyIcon.h"
#include "toolkit/Menus.h"

namespace tray {

// Keeps the tray icon's exported menu (the one StatusNotifierItem hosts draw) a copy of
// its popup menu, and runs a choice made there as a click in the drawn popup would.
// While the popup's auto-popup flag is off, the copy is one disabled line saying why.
class TTrayMenuExport {
 public:
  static constexpr char ClosedCaption[] = "Not available while a Jabberwell window is open";

  // `opener` becomes the menu's popup component when an entry is chosen.
  explicit TTrayMenuExport(tk::TComponent* opener);
  ~TTrayMenuExport();

  void SetMenu(tk::TPopupMenu* menu);
  // The menu is being destroyed: forget it without touching it.
  void MenuDestroyed() { menu_ = nullptr; }
  // The icon to give the copy to; it is sent at once, and again after every change.
  void SetIcon(platform::HWND window, platform::UINT id);

  // The copy as it would be sent now.
  platform::TrayMenuEntry Snapshot() const;

 private:
  void Publish();
  void Choose(int serial);

  tk::TComponent* opener_;
  tk::TPopupMenu* menu_ = nullptr;
  platform::HWND window_ = 0;
  platform::UINT id_ = 0;
  // Changes come in bursts (a rebuild adds thousands of entries): one send after them.
  QTimer pending_;
};

}  // namespace tray
