#include "timer/TimerSwitches.h"

#include <utility>

#include <QCheckBox>
#include <QObject>
#include <QRadioButton>

#include "timer/TimerEdit.h"
#include "toolkit/Application.h"

namespace timer {

TTimerSwitches::TTimerSwitches() : context_(std::make_unique<QObject>()) {}

TTimerSwitches::~TTimerSwitches() {
  context_.reset();
  if (c_.EditTimer) c_.EditTimer->OnChange = nullptr;
}

void TTimerSwitches::Attach(const TTimerControls& controls) {
  c_ = controls;
  // Still unconnected: taking over the state runs no handler.
  c_.CBTimer->setChecked(on_);
  (c_.*selected_)->setChecked(true);
  c_.EditTimer->SetText(field_);

  tk::Connect(c_.CBTimer, &QCheckBox::toggled, context_.get(), [this](bool) { Run(onChanges_); });
  for (Radio radio : kRadios) {
    tk::Connect(c_.*radio, &QRadioButton::toggled, context_.get(), [this, radio](bool selected) {
      if (selected) Run(SelectedHandler(radio));
    });
  }
  c_.EditTimer->OnChange = [this] { Run(fieldChanges_); };
}

void TTimerSwitches::WhenOnChanges(std::function<void()> handler) {
  onChanges_ = std::move(handler);
}

void TTimerSwitches::WhenSelected(Radio radio, std::function<void()> handler) {
  SelectedHandler(radio) = std::move(handler);
}

void TTimerSwitches::WhenFieldChanges(std::function<void()> handler) {
  fieldChanges_ = std::move(handler);
}

bool TTimerSwitches::On() const {
  return Attached() ? c_.CBTimer->isChecked() : on_;
}

bool TTimerSwitches::Selected(Radio radio) const {
  return Attached() ? (c_.*radio)->isChecked() : selected_ == radio;
}

std::string TTimerSwitches::Field() const {
  return Attached() ? c_.EditTimer->Text() : field_;
}

// Without controls each change follows its control's rules: a change to the value held
// runs nothing, and the new value is in place before the handler runs.

void TTimerSwitches::SetOn(bool on) {
  if (Attached()) {
    c_.CBTimer->setChecked(on);
  } else if (on_ != on) {
    on_ = on;
    Signal(onChanges_);
  }
  RethrowNested();
}

void TTimerSwitches::Select(Radio radio) {
  if (Attached()) {
    (c_.*radio)->setChecked(true);
  } else if (selected_ != radio) {
    selected_ = radio;
    Signal(SelectedHandler(radio));
  }
  RethrowNested();
}

void TTimerSwitches::SetField(const std::string& text) {
  if (Attached()) {
    c_.EditTimer->SetText(text);
  } else if (std::string field = FieldText(text); field != field_) {
    field_ = std::move(field);
    Run(fieldChanges_);
  }
  RethrowNested();
}

void TTimerSwitches::CallOut(const std::function<void()>& call) {
  call();
  RethrowNested();
}

std::function<void()>& TTimerSwitches::SelectedHandler(Radio radio) {
  for (size_t i = 0; i < kRadios.size(); ++i) {
    if (kRadios[i] == radio) return selectedHandlers_[i];
  }
  std::terminate();  // not one of the four radio buttons
}

void TTimerSwitches::Signal(const std::function<void()>& handler) {
  // The button's signal runs its handler behind the guard; the field calls its own directly.
  tk::Guard([&] { Run(handler); });
}

void TTimerSwitches::Run(const std::function<void()>& handler) {
  if (!handler) return;
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
