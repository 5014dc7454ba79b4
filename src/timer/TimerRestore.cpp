#include <QCheckBox>
#include <QRadioButton>

#include "ini/BigIni.h"
#include "rtl/StrToInt.h"
#include "settings/SettingsFiles.h"
#include "settings/SharedState.h"
#include "timer/TimerEdit.h"
#include "timer/TimerModes.h"
#include "toolkit/Menus.h"
#include "toolkit/Timer.h"

namespace timer {

void TTimerModes::RestoreTimer() {
  const Nesting nest(*this);
  const std::string path = state_.PathOf(settings::kJbwIni);
  if (!settings::SettingsFileExists(path)) {
    settings::CreateDefaultJbw(state_.appFolder);
    return;
  }
  // Both values come from this one copy: the saves that the changes below cause do not
  // alter what is read next.
  ini::TBiggerIniFile ini(path);

  const std::string custom =
      ini.ReadString(settings::kSettings, settings::kSetCustom, settings::kDefaultSetCustom);
  const int minutes = rtl::StrToInt(custom);
  SetFieldText(minutes < 0 || minutes > 99 ? std::string("3") : custom);

  const std::string mode =
      ini.ReadString(settings::kSettings, settings::kSetTimer, settings::kDefaultSetTimer);
  if (mode == "Off") {
    m_.SubMenuOff->SetChecked(true);
    SetCheckBox(false);
    timer_.SetInterval(0);
  } else if (mode == "2Mins") {
    m_.SubMenu2Mins->SetChecked(true);
    SetCheckBox(true);
    Select(c_.RBtn2Mins);
    timer_.SetInterval(kTwoMinutes);
  } else if (mode == "5Mins") {
    m_.SubMenu5Mins->SetChecked(true);
    SetCheckBox(true);
    Select(c_.RBtn5Mins);
    timer_.SetInterval(kFiveMinutes);
  } else if (mode == "Random") {
    m_.SubMenuRandom->SetChecked(true);
    SetCheckBox(true);
    Select(c_.RBtnRandom);
    TimerRandom();
  } else if (mode == "Custom") {
    SetCustomCaption();
    m_.SubMenuCustom->SetChecked(true);
    SetCheckBox(true);
    Select(c_.RBtnCustom);
    timer_.SetInterval(FieldMinutes() * kMinute);
  }
}

}  // namespace timer
