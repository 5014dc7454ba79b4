#pragma once

#include <functional>

// Keeps our notification-area icons findable and on screen as tray hosts come and go.
namespace platform {

// The X11 instance name given to every tray icon window of ours, so that end-to-end
// tests find it with `xdotool search --classname jabberwell-tray`. (Qt itself names the
// window after the application, like every other window of the program.)
inline constexpr char kTrayWindowClassName[] = "jabberwell-tray";

// Gives every tray icon window our class name, also the windows Qt makes again when the
// tray host restarts.
void NameTrayWindows();

// Qt shows an icon only if a tray host is there at that moment; when none is, `reshow`
// runs once a host appears (polled every two seconds).
void ReshowWhenTrayHostAppears(std::function<void()> reshow);

}  // namespace platform
