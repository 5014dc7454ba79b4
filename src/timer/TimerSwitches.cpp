#include "timer/TimerSwitches.h"

#include <utility>

#include <QCheckBox>
#include <QObject>
#include <QRadioButton>

#include "timer/TimerEdit.h"
#include "toolkit/Application.h"

namespace timer {

TTimerSwitches::TTimerSwitches(const TTimerControls& controls)
    : c_(controls), context_(std::make_unique<QObject>()) {}

TTimerSwitches::~TTimerSwitches() {
  context_.reset();
  c_.EditTimer->OnChange = nullptr;
}

void TTimerSwitches::WhenOnChanges(std::function<void()> handler) {
  tk::Connect(c_.CBTimer, &QCheckBox::toggled, context_.get(),
              [this, handler = std::move(handler)](bool) { Run(handler); });
}

void TTimerSwitches::WhenSelected(Radio radio, std::function<void()> handler) {
  tk::Connect(c_.*radio, &QRadioButton::toggled, context_.get(),
              [this, handler = std::move(handler)](bool selected) {
                if (selected) Run(handler);
              });
}

void TTimerSwitches::WhenFieldChanges(std::function<void()> handler) {
  c_.EditTimer->OnChange = [this, handler = std::move(handler)] { Run(handler); };
}

bool TTimerSwitches::On() const {
  return c_.CBTimer->isChecked();
}

bool TTimerSwitches::Selected(Radio radio) const {
  return (c_.*radio)->isChecked();
}

std::string TTimerSwitches::Field() const {
  return c_.EditTimer->Text();
}

void TTimerSwitches::SetOn(bool on) {
  c_.CBTimer->setChecked(on);
  RethrowNested();
}

void TTimerSwitches::Select(Radio radio) {
  (c_.*radio)->setChecked(true);
  RethrowNested();
}

void TTimerSwitches::SetField(const std::string& text) {
  c_.EditTimer->SetText(text);
  RethrowNested();
}

void TTimerSwitches::CallOut(const std::function<void()>& call) {
  call();
  RethrowNested();
}

void TTimerSwitches::Run(const std::function<void()>& handler) {
  if (depth_ == 0) {
    handler();
    return;
  }
  try {
    handler();
  } catch (...) {
    if (!nestedError_) nestedError_ = std::current_exception();
  }
}

void TTimerSwitches::RethrowNested() {
  if (nestedError_) std::rethrow_exception(std::exchange(nestedError_, nullptr));
}

}  // namespace timer
