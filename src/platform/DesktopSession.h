#pragma once

namespace platform {

// Whether the program can show windows here: a display to connect to, or a Qt platform
// chosen that needs none (offscreen, vnc, ...). Over ssh or from cron there is neither.
bool DesktopSessionAvailable();

}  // namespace platform
