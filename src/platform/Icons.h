#pragma once

#include "platform/WinTypes.h"

// Icons by handle, held by the platform layer. Handles from LoadIconA are shared and live
// as long as the program; handles from RegisterIcon (QtBridge.h) belong to the caller,
// who gives them back with DestroyIcon.
namespace platform {

// A named icon compiled into the program ("MAINICON", ...), the same handle for every
// call with the same name; 0 when there is no icon of that name. `instance` 0 is the
// program itself, the only module with icons.
HICON LoadIconA(HINSTANCE instance, const char* name);

BOOL DestroyIcon(HICON icon);  // shared icons from LoadIconA stay

}  // namespace platform
