#pragma once

namespace tk {
class TComponent;
class TMenuItem;
}  // namespace tk

namespace timer {

// The five radio items of the tray's "Timer" submenu, in their order.
struct TTimerMenu {
  tk::TMenuItem* SubMenuOff = nullptr;
  tk::TMenuItem* SubMenu2Mins = nullptr;
  tk::TMenuItem* SubMenu5Mins = nullptr;
  tk::TMenuItem* SubMenuRandom = nullptr;
  tk::TMenuItem* SubMenuCustom = nullptr;
};

// Appends the five items, owned by `owner` (the main window), to `menuTimer`, with "Off"
// checked. Their click actions are set by the TTimerModes built on them.
TTimerMenu CreateTimerMenu(tk::TComponent* owner, tk::TMenuItem* menuTimer);

}  // namespace timer
