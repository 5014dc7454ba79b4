#pragma once

#include <functional>

#include <QApplication>
#include <QTimer>

#include "toolkit/Application.h"

// The one Qt application of a toolkit test program, made by the toolkit itself so the
// error guard around event handlers is in place.
inline void EnsureTestApp() {
  static int argc = 1;
  static char name[] = "toolkit_test";
  static char* argv[] = {name, nullptr};
  if (!QCoreApplication::instance()) tk::Application().Initialize(argc, argv);
}

// Runs `steps` once the event loop of a modal call (a menu, a box) has started.
inline void Later(std::function<void()> steps) {
  QTimer::singleShot(0, std::move(steps));
}
