#pragma once

#include <chrono>
#include <functional>

namespace platform {

// Runs `onSignal` on the GUI thread when the process gets SIGTERM or SIGINT (through a
// self-pipe watched by the event loop, since almost nothing is safe in a signal handler).
// A second signal, or the first when the GUI thread has not taken it within `grace`,
// ends the process at once, as the signal's default action does. Call once, after the
// Qt application exists.
void OnTerminationSignal(std::function<void()> onSignal,
                         std::chrono::milliseconds grace = std::chrono::seconds(3));

// Before the Qt application exists: under Wayland, run on XWayland unless the user chose
// a platform, since a popup menu at a screen point needs X11.
void PreferX11UnderWayland();

}  // namespace platform
