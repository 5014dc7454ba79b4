#pragma once

#include <functional>
#include <string>

#include "timer/TimerControls.h"
#include "timer/TimerMenu.h"
#include "timer/TimerSwitches.h"

namespace settings {
struct SharedState;
}
namespace tk {
class TTimer;
}

namespace timer {

// The timer operations of the configuration window: the five modes, kept in step across
// the check box, the radio buttons, the tray submenu and the window's Timer, saved to
// JBW.ini on every change and restored from it.
//
// The mode lives in TTimerSwitches: held there until the window's controls exist, in the
// controls once they are attached. Changing a switch from a handler runs that switch's
// handler at once, just as a user's change of the control does, so handlers run nested
// inside one another; the random-interval history and the writes of JBW.ini show those
// runs. TTimerSwitches also carries a nested handler's error out to the handler that
// caused it.
//
// Build it after the menu items and the timer, and destroy it before them and before
// the attached controls.
class TTimerModes {
 public:
  TTimerModes(const TTimerMenu& menu, tk::TTimer& timer, settings::SharedState& state,
              std::function<void()> pickRandomSound);
  ~TTimerModes();
  TTimerModes(const TTimerModes&) = delete;
  TTimerModes& operator=(const TTimerModes&) = delete;

  // Shows the mode in the controls, which from then on change it too.
  void AttachControls(const TTimerControls& controls) { sw_.Attach(controls); }

  void CBTimerClick();
  void RBtn2MinsClick();
  void RBtn5MinsClick();
  void RBtnRandomClick();
  void EditTimerChange();
  void SubMenuOffClick();
  void SubMenu2MinsClick();
  void SubMenu5MinsClick();
  void SubMenuRandomClick();
  void TimerRandom();
  void SaveTimerSettings();
  void TimerTimer();

  // Brings the switches to the mode stored in JBW.ini; a missing file is created with its
  // default content and nothing else happens. Raises the conversion error when the stored
  // minutes are not a whole number.
  void RestoreTimer();

  // For tests: the random-interval history in minutes; 0 until something was drawn.
  int LastDrawn() const { return lastDrawn_; }
  int DrawnBefore() const { return drawnBefore_; }

 private:
  static constexpr int kMinute = 60000;
  static constexpr int kTwoMinutes = 2 * kMinute;
  static constexpr int kFiveMinutes = 5 * kMinute;

  void Connect();
  void SetCustomCaption();
  int FieldMinutes() const;

  TTimerSwitches sw_;
  TTimerMenu m_;
  tk::TTimer& timer_;
  settings::SharedState& state_;
  std::function<void()> pickRandomSound_;

  int lastDrawn_ = 0;
  int drawnBefore_ = 0;
};

}  // namespace timer
