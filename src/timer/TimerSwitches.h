#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "timer/TimerControls.h"

class QObject;

namespace timer {

// The timer controls as the mode handlers reach them, and the only way they change them.
//
// Changing a control runs that control's handler at once, nested in the handler that made
// the change. An error raised by a nested handler must end the handler that caused it as
// well, but it cannot pass through Qt: the control's signal keeps it, and the change raises
// it again once Qt has returned. The same holds for a call out of the handlers, which may
// change a control itself. Outside any handler a change's error goes to its caller: the
// signal guard for a user's change, or whoever set the field's text.
class TTimerSwitches {
 public:
  using Radio = QRadioButton* TTimerControls::*;

  explicit TTimerSwitches(const TTimerControls& controls);
  ~TTimerSwitches();
  TTimerSwitches(const TTimerSwitches&) = delete;
  TTimerSwitches& operator=(const TTimerSwitches&) = delete;

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

  // The handlers: of the check box, of a radio button when it becomes selected (losing the
  // selection runs nothing), of the field's text.
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
  void Run(const std::function<void()>& handler);
  void RethrowNested();

  TTimerControls c_;
  int depth_ = 0;
  std::exception_ptr nestedError_;
  // Ends the Qt connections with this object.
  std::unique_ptr<QObject> context_;
};

}  // namespace timer
