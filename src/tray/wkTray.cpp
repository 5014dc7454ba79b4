#include "tray/wkTray.h"

#include <cstring>

#include "platform/Icons.h"
#include "platform/WindowHandles.h"
#include "toolkit/Form.h"

namespace tray {

using namespace platform;

uint32_t TrayIDCounter = 0;

TwkTray::TwkTray(tk::TComponent* owner)
    : TwkMsgComponent(owner),
      iconResources_(std::make_unique<TwkTrayResources>(this)),
      icon_(std::make_unique<TwkTrayIcon>(this)),
      menuExport_(this) {
  iconResources_->Add("MAINICON");
  SetMessageHandler(TrayCallbackMessage, [this](tk::TMessage& m) { TrayCallback(m); });
}

TwkTray::~TwkTray() {
  DeleteIcon();
}

void TwkTray::Loaded() {
  TwkMsgComponent::Loaded();
  AddIcon();
}

HICON TwkTray::CurrentIconHandle() const {
  if (!icon_->Empty()) return icon_->Handle();
  if (iconResources_->Count() > 0 && iconResources_->Count() > iconIndex_ && iconIndex_ >= 0) {
    return LoadIconA(0, iconResources_->Strings(iconIndex_).c_str());
  }
  return 0;
}

void TwkTray::AddIcon() {
  iconData_.cbSize = NOTIFYICONDATAA_V1_SIZE;
  if (WindowHandle() == 0) SetWindowHandle(OwnerForm() ? OwnerForm()->Handle() : 0);
  iconData_.hWnd = WindowHandle();
  if (trayID_ == 0) trayID_ = ++TrayIDCounter;
  iconData_.uID = trayID_;
  iconData_.uCallbackMessage = TrayCallbackMessage;
  iconData_.hIcon = CurrentIconHandle();
  iconData_.uFlags = NIF_MESSAGE | NIF_ICON | (TipEmpty() ? 0 : NIF_TIP);
  if (iconData_.hIcon != 0 && iconData_.hWnd != 0 && Shell_NotifyIconA(NIM_ADD, &iconData_)) {
    menuExport_.SetIcon(iconData_.hWnd, trayID_);
  }
}

void TwkTray::DeleteIcon() {
  iconData_.uFlags = 0;
  Shell_NotifyIconA(NIM_DELETE, &iconData_);
  menuExport_.SetIcon(0, 0);
}

void TwkTray::ModifyIcon() {
  if (!Active()) return;
  iconData_.uFlags = TipEmpty() ? (iconData_.uFlags & ~NIF_TIP) : (iconData_.uFlags | NIF_TIP);
  iconData_.hIcon = CurrentIconHandle();
  Shell_NotifyIconA(NIM_MODIFY, &iconData_);
}

void TwkTray::RefreshIcon() {
  if (CurrentIconHandle() != iconData_.hIcon) ModifyIcon();
}

void TwkTray::PopupAt(POINT point) {
  if (!popupMenu_ || !popupMenu_->AutoPopup()) return;
  SetForegroundWindow(WindowHandle());
  popupMenu_->SetPopupComponent(this);
  popupMenu_->Popup(point.x, point.y);
}

void TwkTray::TrayCallback(tk::TMessage& message) {
  message.Result = 0;
  if (message.WParam != trayID_) return;
  switch (message.LParam) {
    case WM_LBUTTONDOWN:
      if (SimpleFunction) SimpleFunction(this);
      break;
    case WM_LBUTTONDBLCLK:
      if (DefaultFunction) DefaultFunction(this);
      break;
    case WM_RBUTTONDOWN: {
      if (ShowMenu) ShowMenu(this);
      POINT cursor;
      GetCursorPos(&cursor);
      PopupAt(cursor);
      break;
    }
    default:
      return;
  }
  message.Result = 1;
}

bool TwkTray::Active() const {
  return iconData_.hIcon != 0 ? active_ : false;
}

void TwkTray::SetActive(bool value) {
  if (value == Active()) return;
  active_ = value;
  if (value) {
    AddIcon();
  } else {
    DeleteIcon();
  }
}

void TwkTray::SetIcon(const QIcon& icon) {
  icon_->Assign(icon);
  ModifyIcon();
}

void TwkTray::SetIconResources(const std::vector<std::string>& names) {
  iconResources_->Assign(names);
  ModifyIcon();
}

void TwkTray::SetIconIndex(int32_t index) {
  if (index == iconIndex_) return;
  iconIndex_ = index;
  if (icon_->Empty()) ModifyIcon();
}

void TwkTray::SetPopupMenu(tk::TPopupMenu* menu) {
  if (menu == popupMenu_) return;
  popupMenu_ = menu;
  if (menu) menu->FreeNotification(this);
  menuExport_.SetMenu(menu);
}

std::string TwkTray::Tip() const {
  return std::string(iconData_.szTip, strnlen(iconData_.szTip, MaxTipLength));
}

void TwkTray::SetTip(const std::string& tip) {
  const std::size_t length = std::min(tip.size(), MaxTipLength);
  tipSet_ = true;
  std::memcpy(iconData_.szTip, tip.data(), length);
  iconData_.szTip[length] = '\0';
  ModifyIcon();
}

void TwkTray::Notification(tk::TComponent* component, tk::TOperation operation) {
  TwkMsgComponent::Notification(component, operation);
  if (operation == tk::TOperation::opRemove && component == popupMenu_) {
    menuExport_.MenuDestroyed();
    SetPopupMenu(nullptr);
  }
}

void TwkTray::SetComponentName(const std::string& name) {
  TwkMsgComponent::SetComponentName(name);
  if (!tipSet_) {
    SetTip(name);
    tipSet_ = false;
  }
}

}  // namespace tray
