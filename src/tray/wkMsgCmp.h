#pragma once

#include "platform/WinTypes.h"
#include "toolkit/Component.h"

namespace tk {
class TForm;
}

namespace tray {

// Base of non-visual components that receive the messages of a window they do not own,
// by default the window of the form that owns them. Any number of components may hook
// one window; each sees every message before the window's own procedure does.
class TwkMsgComponent : public tk::TComponent {
 public:
  explicit TwkMsgComponent(tk::TComponent* owner);
  ~TwkMsgComponent() override;

  tk::TForm* OwnerForm() const { return ownerForm_; }
  platform::HWND WindowHandle() const { return windowHandle_; }
  // While loading, only remembers the window; Loaded registers it.
  void SetWindowHandle(platform::HWND window);

  // Moves the component from its window to `window` (0: to none).
  virtual void ChangeWindow(platform::HWND window);
  // Registers for one more window, leaving WindowHandle alone; the record's position.
  virtual int AttachWindow(platform::HWND window);
  // Unregisters from a window, leaving WindowHandle alone; the position or -1.
  virtual int DetachWindow(platform::HWND window);

  // The component itself when it is a form, else the nearest form among its owners.
  static tk::TForm* FindOwnerForm(tk::TComponent* component);

 protected:
  void Loaded() override;

 private:
  tk::TForm* ownerForm_ = nullptr;
  platform::HWND windowHandle_ = 0;
};

}  // namespace tray
