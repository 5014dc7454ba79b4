#pragma once

#include <functional>

namespace platform {

// Runs `onSignal` on the GUI thread when the process gets SIGTERM or SIGINT (through a
// self-pipe watched by the event loop, since almost nothing is safe in a signal handler).
// Call once, after the Qt application exists.
void OnTerminationSignal(std::function<void()> onSignal);

// Before the Qt application exists: under Wayland, run on XWayland unless the user chose
// a platform, since a popup menu at a screen point needs X11.
void PreferX11UnderWayland();

}  // namespace platform
