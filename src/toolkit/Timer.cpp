#include "toolkit/Timer.h"

#include <QTimer>

#include "toolkit/Application.h"

namespace tk {

TTimer::TTimer(TComponent* owner) : TComponent(owner), timer_(std::make_unique<QTimer>()) {
  // Minute-long intervals must not drift by the coarse timer's 5 %.
  timer_->setTimerType(Qt::PreciseTimer);
  QObject::connect(timer_.get(), &QTimer::timeout, [this] { Fire(); });
}

TTimer::~TTimer() = default;

void TTimer::SetInterval(int ms) {
  if (ms < 0) ms = 0;
  if (ms == interval_) return;
  interval_ = ms;
  Update();
}

void TTimer::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Update();
}

void TTimer::Update() {
  timer_->stop();
  if (enabled_ && interval_ > 0) {
    timer_->start(interval_);
    ++restarts_;
  }
}

bool TTimer::Running() const {
  return timer_->isActive();
}

int TTimer::RemainingTime() const {
  return timer_->isActive() ? timer_->remainingTime() : -1;
}

void TTimer::Fire() {
  if (OnTimer) Guard([this] { OnTimer(this); });
}

}  // namespace tk
