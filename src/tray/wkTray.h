#pragma once

#include <QIcon>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/NotifyIcon.h"
#include "toolkit/Menus.h"
#include "tray/TrayMenuExport.h"
#include "tray/wkMsgCmp.h"
#include "tray/wkTrayIcon.h"
#include "tray/wkTrayResources.h"

namespace tray {

// Identifiers of tray icons, handed out 1, 2, 3, ... as components first add their icons.
extern uint32_t TrayIDCounter;

// Shows one icon with a tip in the notification area and turns mouse actions on it into
// events and the opening of a popup menu. It receives the shell's callback messages
// through the window of the form that owns it.
class TwkTray : public TwkMsgComponent {
 public:
  static constexpr platform::UINT TrayCallbackMessage = 10124;
  static constexpr std::size_t MaxTipLength = 63;

  explicit TwkTray(tk::TComponent* owner);
  ~TwkTray() override;

  // At run time true only while an icon handle has been taken.
  bool Active() const;
  void SetActive(bool value);

  TwkTrayIcon* Icon() const { return icon_.get(); }
  void SetIcon(const QIcon& icon);
  void SetIcon(const TwkTrayIcon& icon) { SetIcon(icon.Icon()); }

  TwkTrayResources* IconResources() const { return iconResources_.get(); }
  void SetIconResources(const std::vector<std::string>& names);

  int32_t IconIndex() const { return iconIndex_; }
  void SetIconIndex(int32_t index);

  tk::TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(tk::TPopupMenu* menu);

  std::string Tip() const;
  void SetTip(const std::string& tip);

  tk::TNotifyEvent ShowMenu;
  tk::TNotifyEvent SimpleFunction;
  tk::TNotifyEvent DefaultFunction;

  virtual void AddIcon();
  virtual void DeleteIcon();
  virtual void ModifyIcon();
  virtual void PopupAt(platform::POINT point);
  virtual void RefreshIcon();

  // The stored picture when it has one, else the resource named at IconIndex, else 0.
  platform::HICON CurrentIconHandle() const;

  platform::UINT TrayID() const { return trayID_; }

 protected:
  void Loaded() override;
  void Notification(tk::TComponent* component, tk::TOperation operation) override;
  void SetComponentName(const std::string& name) override;

 private:
  void TrayCallback(tk::TMessage& message);
  bool TipEmpty() const { return iconData_.szTip[0] == '\0'; }

  bool active_ = true;
  platform::NOTIFYICONDATAA iconData_;
  std::unique_ptr<TwkTrayResources> iconResources_;
  int32_t iconIndex_ = 0;
  std::unique_ptr<TwkTrayIcon> icon_;
  tk::TPopupMenu* popupMenu_ = nullptr;
  bool tipSet_ = false;
  platform::UINT trayID_ = 0;
  // The popup menu as hosts that draw it themselves get it.
  TTrayMenuExport menuExport_;
};

}  // namespace tray
