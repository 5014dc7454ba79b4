#include "tray/wkMsgCmp.h"

#include "toolkit/Form.h"
#include "tray/MsgCmpList.h"

namespace tray {

TwkMsgComponent::TwkMsgComponent(tk::TComponent* owner)
    : tk::TComponent(owner), ownerForm_(FindOwnerForm(owner)) {}

TwkMsgComponent::~TwkMsgComponent() {
  MsgCmpList.RemoveHook(this, windowHandle_);
  // Registrations made with AttachWindow would otherwise point at a dead component.
  MsgCmpList.RemoveComponent(this);
}

void TwkMsgComponent::SetWindowHandle(platform::HWND window) {
  if (window == windowHandle_) return;
  if (Loading()) {
    windowHandle_ = window;
    return;
  }
  ChangeWindow(window);
}

void TwkMsgComponent::ChangeWindow(platform::HWND window) {
  if (windowHandle_ != 0) MsgCmpList.RemoveHook(this, windowHandle_);
  windowHandle_ = window;
  if (window != 0) MsgCmpList.AddHook(this, window);
}

int TwkMsgComponent::AttachWindow(platform::HWND window) {
  return MsgCmpList.AddHook(this, window);
}

int TwkMsgComponent::DetachWindow(platform::HWND window) {
  return MsgCmpList.RemoveHook(this, window);
}

tk::TForm* TwkMsgComponent::FindOwnerForm(tk::TComponent* component) {
  for (tk::TComponent* c = component; c; c = c->Owner()) {
    if (auto* form = dynamic_cast<tk::TForm*>(c)) return form;
  }
  return nullptr;
}

void TwkMsgComponent::Loaded() {
  tk::TComponent::Loaded();
  ChangeWindow(windowHandle_);
}

}  // namespace tray
