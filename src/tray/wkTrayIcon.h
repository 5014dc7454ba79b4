#pragma once

#include <QIcon>

#include "platform/WinTypes.h"

namespace tray {

class TwkTray;

// The tray's icon picture. It has a handle while it holds a picture; assigning another
// picture refreshes the tray's icon.
class TwkTrayIcon {
 public:
  explicit TwkTrayIcon(TwkTray* tray = nullptr) : Tray(tray) {}
  virtual ~TwkTrayIcon();
  TwkTrayIcon(const TwkTrayIcon&) = delete;
  TwkTrayIcon& operator=(const TwkTrayIcon&) = delete;

  bool Empty() const { return icon_.isNull(); }
  platform::HICON Handle() const { return handle_; }
  const QIcon& Icon() const { return icon_; }

  virtual void Assign(const QIcon& icon);
  void Assign(const TwkTrayIcon& source) { Assign(source.icon_); }
  void Clear() { Assign(QIcon()); }

  TwkTray* Tray;

 private:
  QIcon icon_;
  platform::HICON handle_ = 0;
};

}  // namespace tray
