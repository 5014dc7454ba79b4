#pragma once

#include <functional>

// Keeps our notification-area icons findable and on screen as tray hosts come and go.
namespace platform {

// Gives every tray icon window our class name, also the windows Qt makes again when the
// tray host restarts.
void NameTrayWindows();

// Qt shows an icon only if a tray host is there at that moment; when none is, `reshow`
// runs once a host appears (polled every two seconds).
void ReshowWhenTrayHostAppears(std::function<void()> reshow);

}  // namespace platform
