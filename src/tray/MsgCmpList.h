#pragma once

#include <vector>

#include "platform/WinTypes.h"

namespace tray {

class TwkMsgComponent;

// One registration of a component for a window. Records are never removed: removing a
// registration clears Component, so positions stay in registration order.
struct TMsgCmpHook {
  TwkMsgComponent* Component = nullptr;
  platform::HWND Window = 0;
  platform::WNDPROC PreviousProc = nullptr;
};

class TMsgCmpList {
 public:
  // Smallest position after `after` whose record is for `window`; -1 when none.
  int FindNextHook(platform::HWND window, int after) const;
  // Registers the component and subclasses the window with MsgCmpWndProc if it is not
  // hooked yet; returns the new record's position.
  int AddHook(TwkMsgComponent* component, platform::HWND window);
  // Clears the first matching registration; its position, or -1.
  int RemoveHook(TwkMsgComponent* component, platform::HWND window);
  // Clears every registration of the component, whatever the window.
  void RemoveComponent(TwkMsgComponent* component);

  int Count() const { return static_cast<int>(hooks_.size()); }
  const TMsgCmpHook& Items(int position) const { return hooks_.at(position); }

 private:
  // By value and reached by position: the list may grow while a message is dispatched.
  std::vector<TMsgCmpHook> hooks_;
};

// The program's one list of registrations.
extern TMsgCmpList MsgCmpList;

// The window procedure shared by every hooked window: offers each message to every live
// component registered for the window, in registration order, then to the window's
// previous procedure, whose result is returned.
platform::LRESULT MsgCmpWndProc(platform::HWND window, platform::UINT msg, platform::WPARAM wParam,
                                platform::LPARAM lParam);

}  // namespace tray
