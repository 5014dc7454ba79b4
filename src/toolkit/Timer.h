#pragma once

#include <memory>

#include "toolkit/Component.h"
#include "toolkit/Menus.h"

class QTimer;

namespace tk {

// A periodic timer. It counts down while it is enabled and its interval is above 0;
// every expiry runs OnTimer under the default error handler. A new timer is enabled
// with interval 0, so it stays still until an interval is set.
class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  int Interval() const { return interval_; }
  // A different interval restarts the countdown from now (0 stops it); the interval the
  // timer already has leaves the running countdown alone.
  void SetInterval(int ms);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  TNotifyEvent OnTimer;

  // For tests: whether the countdown runs, the milliseconds left (-1 when stopped), how
  // many times a countdown was started, and an expiry without waiting for it.
  bool Running() const;
  int RemainingTime() const;
  int Restarts() const { return restarts_; }
  void Fire();

 private:
  void Update();

  std::unique_ptr<QTimer> timer_;
  int interval_ = 0;
  bool enabled_ = true;
  int restarts_ = 0;
};

}  // namespace tk
