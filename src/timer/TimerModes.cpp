#include "timer/TimerModes.h"

#include <utility>

#include "ini/BigIni.h"
#include "rtl/Random.h"
#include "rtl/StrToInt.h"
#include "settings/SettingsFiles.h"
#include "settings/SharedState.h"
#include "toolkit/Menus.h"
#include "toolkit/Timer.h"

namespace timer {

namespace {

constexpr int kRandomLow = 3;
constexpr int kRandomValues = 7;  // 3 to 9 minutes

constexpr TTimerSwitches::Radio kTwo = &TTimerControls::RBtn2Mins;
constexpr TTimerSwitches::Radio kFive = &TTimerControls::RBtn5Mins;
constexpr TTimerSwitches::Radio kRandom = &TTimerControls::RBtnRandom;
constexpr TTimerSwitches::Radio kCustom = &TTimerControls::RBtnCustom;

}  // namespace

TTimerModes::TTimerModes(const TTimerMenu& menu, tk::TTimer& timer, settings::SharedState& state,
                         std::function<void()> pickRandomSound)
    : m_(menu), timer_(timer), state_(state), pickRandomSound_(std::move(pickRandomSound)) {
  Connect();
}

TTimerModes::~TTimerModes() {
  timer_.OnTimer = nullptr;
  for (tk::TMenuItem* item :
       {m_.SubMenuOff, m_.SubMenu2Mins, m_.SubMenu5Mins, m_.SubMenuRandom, m_.SubMenuCustom})
    item->OnClick = nullptr;
}

void TTimerModes::Connect() {
  sw_.WhenOnChanges([this] { CBTimerClick(); });
  sw_.WhenSelected(kTwo, [this] { RBtn2MinsClick(); });
  sw_.WhenSelected(kFive, [this] { RBtn5MinsClick(); });
  sw_.WhenSelected(kRandom, [this] { RBtnRandomClick(); });
  sw_.WhenSelected(kCustom, [this] { EditTimerChange(); });
  sw_.WhenFieldChanges([this] { EditTimerChange(); });

  m_.SubMenuOff->OnClick = [this](tk::TComponent*) { SubMenuOffClick(); };
  m_.SubMenu2Mins->OnClick = [this](tk::TComponent*) { SubMenu2MinsClick(); };
  m_.SubMenu5Mins->OnClick = [this](tk::TComponent*) { SubMenu5MinsClick(); };
  m_.SubMenuRandom->OnClick = [this](tk::TComponent*) { SubMenuRandomClick(); };
  m_.SubMenuCustom->OnClick = [this](tk::TComponent*) { EditTimerChange(); };
  timer_.OnTimer = [this](tk::TComponent*) { TimerTimer(); };
}

void TTimerModes::SetCustomCaption() {
  m_.SubMenuCustom->SetCaption("Custom: " + sw_.Field() + " Mins");
}

int TTimerModes::FieldMinutes() const {
  return rtl::StrToInt(sw_.Field());
}

void TTimerModes::CBTimerClick() {
  const TTimerSwitches::Nesting nest(sw_);
  if (sw_.On()) {
    // Each test sees the selection as the handler before it left it.
    if (sw_.Selected(kTwo)) RBtn2MinsClick();
    if (sw_.Selected(kFive)) RBtn5MinsClick();
    if (sw_.Selected(kRandom)) RBtnRandomClick();
    if (sw_.Selected(kCustom)) EditTimerChange();
  } else {
    m_.SubMenuOff->SetChecked(true);
    timer_.SetInterval(0);
  }
  SaveTimerSettings();
}

void TTimerModes::RBtn2MinsClick() {
  const TTimerSwitches::Nesting nest(sw_);
  sw_.SetOn(true);
  m_.SubMenu2Mins->SetChecked(true);
  timer_.SetInterval(kTwoMinutes);
  SaveTimerSettings();
}

void TTimerModes::RBtn5MinsClick() {
  const TTimerSwitches::Nesting nest(sw_);
  sw_.SetOn(true);
  m_.SubMenu5Mins->SetChecked(true);
  timer_.SetInterval(kFiveMinutes);
  SaveTimerSettings();
}

void TTimerModes::RBtnRandomClick() {
  const TTimerSwitches::Nesting nest(sw_);
  sw_.SetOn(true);
  m_.SubMenuRandom->SetChecked(true);
  SaveTimerSettings();
  TimerRandom();
}

void TTimerModes::EditTimerChange() {
  const TTimerSwitches::Nesting nest(sw_);
  if (sw_.Field().empty()) return;
  if (FieldMinutes() <= 0) sw_.SetField("1");
  sw_.SetOn(true);
  sw_.Select(kCustom);
  SetCustomCaption();
  m_.SubMenuCustom->SetChecked(true);
  timer_.SetInterval(FieldMinutes() * kMinute);
  SaveTimerSettings();
}

void TTimerModes::SubMenuOffClick() {
  const TTimerSwitches::Nesting nest(sw_);
  sw_.SetOn(false);
  timer_.SetInterval(0);
  SaveTimerSettings();
}

void TTimerModes::SubMenu2MinsClick() {
  const TTimerSwitches::Nesting nest(sw_);
  sw_.SetOn(true);
  sw_.Select(kTwo);
  timer_.SetInterval(kTwoMinutes);
  SaveTimerSettings();
}

void TTimerModes::SubMenu5MinsClick() {
  const TTimerSwitches::Nesting nest(sw_);
  sw_.SetOn(true);
  sw_.Select(kFive);
  timer_.SetInterval(kFiveMinutes);
  SaveTimerSettings();
}

void TTimerModes::SubMenuRandomClick() {
  const TTimerSwitches::Nesting nest(sw_);
  sw_.SetOn(true);
  sw_.Select(kRandom);
  SaveTimerSettings();
  TimerRandom();
}

void TTimerModes::TimerRandom() {
  const TTimerSwitches::Nesting nest(sw_);
  int minutes;
  do {
    minutes = kRandomLow + rtl::Random(kRandomValues);
  } while (minutes == lastDrawn_ || minutes == drawnBefore_);
  timer_.SetInterval(minutes * kMinute);
  drawnBefore_ = lastDrawn_;
  lastDrawn_ = minutes;
}

void TTimerModes::SaveTimerSettings() {
  const TTimerSwitches::Nesting nest(sw_);
  ini::TBiggerIniFile ini(state_.PathOf(settings::kJbwIni));
  if (!sw_.On()) {
    ini.WriteString(settings::kSettings, settings::kSetTimer, "Off");
    return;
  }
  if (sw_.Selected(kTwo)) {
    ini.WriteString(settings::kSettings, settings::kSetTimer, "2Mins");
  } else if (sw_.Selected(kFive)) {
    ini.WriteString(settings::kSettings, settings::kSetTimer, "5Mins");
  } else if (sw_.Selected(kRandom)) {
    ini.WriteString(settings::kSettings, settings::kSetTimer, "Random");
  } else if (sw_.Selected(kCustom)) {
    ini.WriteString(settings::kSettings, settings::kSetTimer, "Custom");
    // An empty value would make every later restore fail on the conversion; the minutes
    // stored last stay instead.
    const std::string minutes = sw_.Field();
    if (!minutes.empty()) ini.WriteString(settings::kSettings, settings::kSetCustom, minutes);
  }
}

void TTimerModes::TimerTimer() {
  const TTimerSwitches::Nesting nest(sw_);
  if (pickRandomSound_) sw_.CallOut(pickRandomSound_);
  if (sw_.Selected(kRandom)) TimerRandom();
}

void TTimerModes::RestoreTimer() {
  const TTimerSwitches::Nesting nest(sw_);
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
  sw_.SetField(minutes < 0 || minutes > 99 ? std::string("3") : custom);

  const std::string mode =
      ini.ReadString(settings::kSettings, settings::kSetTimer, settings::kDefaultSetTimer);
  if (mode == "Off") {
    m_.SubMenuOff->SetChecked(true);
    sw_.SetOn(false);
    timer_.SetInterval(0);
  } else if (mode == "2Mins") {
    m_.SubMenu2Mins->SetChecked(true);
    sw_.SetOn(true);
    sw_.Select(kTwo);
    timer_.SetInterval(kTwoMinutes);
  } else if (mode == "5Mins") {
    m_.SubMenu5Mins->SetChecked(true);
    sw_.SetOn(true);
    sw_.Select(kFive);
    timer_.SetInterval(kFiveMinutes);
  } else if (mode == "Random") {
    m_.SubMenuRandom->SetChecked(true);
    sw_.SetOn(true);
    sw_.Select(kRandom);
    TimerRandom();
  } else if (mode == "Custom") {
    SetCustomCaption();
    m_.SubMenuCustom->SetChecked(true);
    sw_.SetOn(true);
    sw_.Select(kCustom);
    timer_.SetInterval(FieldMinutes() * kMinute);
  }
}

}  // namespace timer
