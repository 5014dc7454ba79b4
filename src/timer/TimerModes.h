#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "timer/TimerControls.h"
#include "timer/TimerMenu.h"

class QAbstractButton;
class QObject;

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
// The mode lives only in the controls. Changing a control from a handler runs that
// control's handler at once, just as a user's change does, so handlers run nested inside
// one another; the random-interval history and the writes of JBW.ini show those runs.
// An error raised by a nested handler ends the handler that caused it as well; the
// outermost one reports it through the default error handler when it came from a control,
// and raises it to its caller otherwise.
//
// Build it after the controls, the menu items and the timer, and destroy it before them.
class TTimerModes {
 public:
  TTimerModes(const TTimerControls& controls, const TTimerMenu& menu, tk::TTimer& timer,
              settings::SharedState& state, std::function<void()> pickRandomSound);
  ~TTimerModes();
  TTimerModes(const TTimerModes&) = delete;
  TTimerModes& operator=(const TTimerModes&) = delete;

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

  // Brings the controls to the mode stored in JBW.ini; a missing file is created with its
  // default content and nothing else happens. Raises the conversion error when the stored
  // minutes are not a whole number.
  void RestoreTimer();

  // The random-interval history in minutes; 0 until something was drawn.
  int LastDrawn() const { return lastDrawn_; }
  int DrawnBefore() const { return drawnBefore_; }

  const TTimerControls& Controls() const { return c_; }
  const TTimerMenu& Menu() const { return m_; }

 private:
  static constexpr int kMinute = 60000;
  static constexpr int kTwoMinutes = 2 * kMinute;
  static constexpr int kFiveMinutes = 5 * kMinute;

  // Marks a handler as running, so that the handlers its control changes run inside it.
  class Nesting {
   public:
    explicit Nesting(TTimerModes& modes) : modes_(modes) { ++modes_.depth_; }
    ~Nesting() {
      if (--modes_.depth_ == 0) modes_.nestedError_ = nullptr;
    }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

   private:
    TTimerModes& modes_;
  };

  void Connect();
  void OnControlChange(void (TTimerModes::*handler)());
  void RethrowNested();

  // The handler steps "check box on", "select" and setting the field text.
  void SetCheckBox(bool checked);
  void Select(QAbstractButton* button);
  void SetFieldText(const std::string& text);
  void SetCustomCaption();
  int FieldMinutes() const;

  TTimerControls c_;
  TTimerMenu m_;
  tk::TTimer& timer_;
  settings::SharedState& state_;
  std::function<void()> pickRandomSound_;

  int lastDrawn_ = 0;
  int drawnBefore_ = 0;

  int depth_ = 0;
  std::exception_ptr nestedError_;
  // Ends the Qt connections with this object.
  std::unique_ptr<QObject> context_;
};

}  // namespace timer
