#include "timer/TimerModes.h"

#include <utility>

#include <QCheckBox>
#include <QObject>
#include <QRadioButton>

#include "ini/BigIni.h"
#include "rtl/Random.h"
#include "rtl/StrToInt.h"
#include "settings/SettingsFiles.h"
#include "settings/SharedState.h"
#include "timer/TimerEdit.h"
#include "toolkit/Application.h"
#include "toolkit/Menus.h"
#include "toolkit/Timer.h"

namespace timer {

namespace {

constexpr int kRandomLow = 3;
constexpr int kRandomValues = 7;  // 3 to 9 minutes

}  // namespace

TTimerModes::TTimerModes(const TTimerControls& controls, const TTimerMenu& menu, tk::TTimer& timer,
                         settings::SharedState& state, std::function<void()> pickRandomSound)
    : c_(controls),
      m_(menu),
      timer_(timer),
      state_(state),
      pickRandomSound_(std::move(pickRandomSound)),
      context_(std::make_unique<QObject>()) {
  Connect();
}

TTimerModes::~TTimerModes() {
  context_.reset();
  c_.EditTimer->OnChange = nullptr;
  timer_.OnTimer = nullptr;
  for (tk::TMenuItem* item :
       {m_.SubMenuOff, m_.SubMenu2Mins, m_.SubMenu5Mins, m_.SubMenuRandom, m_.SubMenuCustom})
    item->OnClick = nullptr;
}

void TTimerModes::Connect() {
  QObject* ctx = context_.get();
  tk::Connect(c_.CBTimer, &QCheckBox::toggled, ctx,
              [this](bool) { OnControlChange(&TTimerModes::CBTimerClick); });
  const std::pair<QRadioButton*, void (TTimerModes::*)()> radios[] = {
      {c_.RBtn2Mins, &TTimerModes::RBtn2MinsClick},
      {c_.RBtn5Mins, &TTimerModes::RBtn5MinsClick},
      {c_.RBtnRandom, &TTimerModes::RBtnRandomClick},
      {c_.RBtnCustom, &TTimerModes::EditTimerChange},
  };
  // A button that loses the selection runs nothing; only the newly selected one does.
  for (const auto& [button, handler] : radios) {
    tk::Connect(button, &QRadioButton::toggled, ctx, [this, handler = handler](bool selected) {
      if (selected) OnControlChange(handler);
    });
  }
  c_.EditTimer->OnChange = [this] { OnControlChange(&TTimerModes::EditTimerChange); };

  m_.SubMenuOff->OnClick = [this](tk::TComponent*) { SubMenuOffClick(); };
  m_.SubMenu2Mins->OnClick = [this](tk::TComponent*) { SubMenu2MinsClick(); };
  m_.SubMenu5Mins->OnClick = [this](tk::TComponent*) { SubMenu5MinsClick(); };
  m_.SubMenuRandom->OnClick = [this](tk::TComponent*) { SubMenuRandomClick(); };
  m_.SubMenuCustom->OnClick = [this](tk::TComponent*) { EditTimerChange(); };
  timer_.OnTimer = [this](tk::TComponent*) { TimerTimer(); };
}

void TTimerModes::OnControlChange(void (TTimerModes::*handler)()) {
  // Outside our handlers the caller reports the error: the signal guard, or whoever set
  // the field's text.
  if (depth_ == 0) {
    (this->*handler)();
    return;
  }
  // Inside one, the error must not pass through Qt; the change's caller raises it again.
  try {
    (this->*handler)();
  } catch (...) {
    if (!nestedError_) nestedError_ = std::current_exception();
  }
}

void TTimerModes::RethrowNested() {
  if (nestedError_) std::rethrow_exception(std::exchange(nestedError_, nullptr));
}

void TTimerModes::SetCheckBox(bool checked) {
  c_.CBTimer->setChecked(checked);
  RethrowNested();
}

void TTimerModes::Select(QAbstractButton* button) {
  button->setChecked(true);
  RethrowNested();
}

void TTimerModes::SetFieldText(const std::string& text) {
  c_.EditTimer->SetText(text);
  RethrowNested();
}

void TTimerModes::SetCustomCaption() {
  m_.SubMenuCustom->SetCaption("Custom: " + c_.EditTimer->Text() + " Mins");
}

int TTimerModes::FieldMinutes() const {
  return rtl::StrToInt(c_.EditTimer->Text());
}

void TTimerModes::CBTimerClick() {
  const Nesting nest(*this);
  if (c_.CBTimer->isChecked()) {
    // Each test sees the selection as the handler before it left it.
    if (c_.RBtn2Mins->isChecked()) RBtn2MinsClick();
    if (c_.RBtn5Mins->isChecked()) RBtn5MinsClick();
    if (c_.RBtnRandom->isChecked()) RBtnRandomClick();
    if (c_.RBtnCustom->isChecked()) EditTimerChange();
  } else {
    m_.SubMenuOff->SetChecked(true);
    timer_.SetInterval(0);
  }
  SaveTimerSettings();
}

void TTimerModes::RBtn2MinsClick() {
  const Nesting nest(*this);
  SetCheckBox(true);
  m_.SubMenu2Mins->SetChecked(true);
  timer_.SetInterval(kTwoMinutes);
  SaveTimerSettings();
}

void TTimerModes::RBtn5MinsClick() {
  const Nesting nest(*this);
  SetCheckBox(true);
  m_.SubMenu5Mins->SetChecked(true);
  timer_.SetInterval(kFiveMinutes);
  SaveTimerSettings();
}

void TTimerModes::RBtnRandomClick() {
  const Nesting nest(*this);
  SetCheckBox(true);
  m_.SubMenuRandom->SetChecked(true);
  SaveTimerSettings();
  TimerRandom();
}

void TTimerModes::EditTimerChange() {
  const Nesting nest(*this);
  if (c_.EditTimer->Text().empty()) return;
  if (FieldMinutes() <= 0) SetFieldText("1");
  SetCheckBox(true);
  Select(c_.RBtnCustom);
  SetCustomCaption();
  m_.SubMenuCustom->SetChecked(true);
  timer_.SetInterval(FieldMinutes() * kMinute);
  SaveTimerSettings();
}

void TTimerModes::SubMenuOffClick() {
  const Nesting nest(*this);
  SetCheckBox(false);
  timer_.SetInterval(0);
  SaveTimerSettings();
}

void TTimerModes::SubMenu2MinsClick() {
  const Nesting nest(*this);
  SetCheckBox(true);
  Select(c_.RBtn2Mins);
  timer_.SetInterval(kTwoMinutes);
  SaveTimerSettings();
}

void TTimerModes::SubMenu5MinsClick() {
  const Nesting nest(*this);
  SetCheckBox(true);
  Select(c_.RBtn5Mins);
  timer_.SetInterval(kFiveMinutes);
  SaveTimerSettings();
}

void TTimerModes::SubMenuRandomClick() {
  const Nesting nest(*this);
  SetCheckBox(true);
  Select(c_.RBtnRandom);
  SaveTimerSettings();
  TimerRandom();
}

void TTimerModes::TimerRandom() {
  const Nesting nest(*this);
  int minutes;
  do {
    minutes = kRandomLow + rtl::Random(kRandomValues);
  } while (minutes == lastDrawn_ || minutes == drawnBefore_);
  timer_.SetInterval(minutes * kMinute);
  drawnBefore_ = lastDrawn_;
  lastDrawn_ = minutes;
}

void TTimerModes::SaveTimerSettings() {
  const Nesting nest(*this);
  ini::TBiggerIniFile ini(state_.PathOf(settings::kJbwIni));
  if (!c_.CBTimer->isChecked()) {
    ini.WriteString(settings::kSettings, settings::kSetTimer, "Off");
    return;
  }
  if (c_.RBtn2Mins->isChecked()) {
    ini.WriteString(settings::kSettings, settings::kSetTimer, "2Mins");
  } else if (c_.RBtn5Mins->isChecked()) {
    ini.WriteString(settings::kSettings, settings::kSetTimer, "5Mins");
  } else if (c_.RBtnRandom->isChecked()) {
    ini.WriteString(settings::kSettings, settings::kSetTimer, "Random");
  } else if (c_.RBtnCustom->isChecked()) {
    ini.WriteString(settings::kSettings, settings::kSetTimer, "Custom");
    // An empty value would make every later restore fail on the conversion; the minutes
    // stored last stay instead.
    const std::string minutes = c_.EditTimer->Text();
    if (!minutes.empty()) ini.WriteString(settings::kSettings, settings::kSetCustom, minutes);
  }
}

void TTimerModes::TimerTimer() {
  const Nesting nest(*this);
  if (pickRandomSound_) pickRandomSound_();
  if (c_.RBtnRandom->isChecked()) TimerRandom();
}

}  // namespace timer
