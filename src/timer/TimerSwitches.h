#pragma once

#include <array>
#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "timer/TimerControls.h"

class QObject;

namespace timer {

// The timer controls as the mode handlers reach them, and the only way they change them.
//
// The controls come late or never: the configuration window builds them when it first
// shows. Until they are attached the switches hold the state themselves and run the
// handlers exactly as the controls would; Attach brings the controls to that state and
// from then on the controls hold it, so a user's change runs the handlers as well.
//
// Changing a switch runs its handler at once, nested in the handler that made the change.
// An error raised by a nested handler must end the handler that caused it as well, but it
// cannot pass through Qt: the control's signal keeps it, and the change raises it again
// once Qt has returned. The same holds for a call out of the handlers, which may change a
// switch itself. Outside any handler the error of a button's handler goes to the signal
// guard, which reports it, and that of the field's handler to whoever set the text.
class TTimerSwitches {
 public:
  using Radio = QRadioButton* TTimerControls::*;

  // Starts as CreateTimerControls does: "On" unchecked, "Two Minutes" selected, field "3".
  TTimerSwitches();
  ~TTimerSwitches();
  TTimerSwitches(const TTimerSwitches&) = delete;
  TTimerSwitches& operator=(const TTimerSwitches&) = delete;

  // Brings the controls to the held state without running a handler and hands the state
  // to them. Once only; the controls must outlive the switches' use of them.
  void Attach(const TTimerControls& controls);
  bool Attached() const { return c_.CBTimer != nullptr; }

  // Marks a handler as running, so that the handlers its changes cause run inside it.
  class Nesting {
   public:
    explicit Nesting(TTimerSwitches& switches) : s_(switches) { ++s_.depth_; }
    ~Nesting() {
      if (--s_.depth_ == 0) s_.nestedError_ = nullptr;
    }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

   private:
    TTimerSwitches& s_;
  };

  // The handlers: of the check box when it changes, of a radio button when it becomes
  // selected (losing the selection runs nothing), of the field when its text changes.
  void WhenOnChanges(std::function<void()> handler);
  void WhenSelected(Radio radio, std::function<void()> handler);
  void WhenFieldChanges(std::function<void()> handler);

  bool On() const;
  bool Selected(Radio radio) const;
  std::string Field() const;

  void SetOn(bool on);
  void Select(Radio radio);
  void SetField(const std::string& text);
  void CallOut(const std::function<void()>& call);

 private:
  static constexpr std::array<Radio, 4> kRadios = {
      &TTimerControls::RBtn2Mins, &TTimerControls::RBtn5Mins, &TTimerControls::RBtnRandom,
      &TTimerControls::RBtnCustom};

  std::function<void()>& SelectedHandler(Radio radio);
  void Signal(const std::function<void()>& handler);
  void Run(const std::function<void()>& handler);
  void RethrowNested();

  // The state while there are no controls.
  bool on_ = false;
  Radio selected_ = &TTimerControls::RBtn2Mins;
  std::string field_ = "3";

  std::function<void()> onChanges_;
  std::array<std::function<void()>, kRadios.size()> selectedHandlers_;
  std::function<void()> fieldChanges_;

  TTimerControls c_;
  int depth_ = 0;
  std::exception_ptr nestedError_;
  // Ends the Qt connections with this object.
  std::unique_ptr<QObject> context_;
};

}  // namespace timer
