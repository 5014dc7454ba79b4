#pragma once

#include <functional>

#include <QTimer>

#include "support/QtTestApp.h"

// Runs `steps` once the event loop of a modal call (a menu, a box) has started.
inline void Later(std::function<void()> steps) {
  QTimer::singleShot(0, std::move(steps));
}
