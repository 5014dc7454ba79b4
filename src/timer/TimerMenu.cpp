#include "timer/TimerMenu.h"

#include "toolkit/Menus.h"

namespace timer {

namespace {

// Any group number will do as long as all five share it.
constexpr int kTimerGroup = 1;

tk::TMenuItem* AddRadioItem(tk::TComponent* owner, tk::TMenuItem* parent, const char* name,
                            const char* caption) {
  auto* item = new tk::TMenuItem(owner);
  item->SetName(name);
  item->SetCaption(caption);
  item->SetRadioItem(true);
  item->SetGroupIndex(kTimerGroup);
  parent->Add(item);
  return item;
}

}  // namespace

TTimerMenu CreateTimerMenu(tk::TComponent* owner, tk::TMenuItem* menuTimer) {
  TTimerMenu m;
  m.SubMenuOff = AddRadioItem(owner, menuTimer, "SubMenuOff", "Off");
  m.SubMenu2Mins = AddRadioItem(owner, menuTimer, "SubMenu2Mins", "2 Minutes");
  m.SubMenu5Mins = AddRadioItem(owner, menuTimer, "SubMenu5Mins", "5 Minutes");
  m.SubMenuRandom = AddRadioItem(owner, menuTimer, "SubMenuRandom", "3 to 9 Minutes");
  m.SubMenuCustom = AddRadioItem(owner, menuTimer, "SubMenuCustom", "Custom");
  m.SubMenuOff->SetChecked(true);
  return m;
}

}  // namespace timer
