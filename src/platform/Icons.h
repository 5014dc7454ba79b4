#pragma once

#include "platform/WinTypes.h"

class QIcon;

// Icons by handle: a table of QIcons held by the platform layer. Handles from LoadIconA
// are shared and live as long as the program; handles from RegisterIcon belong to the
// caller, who gives them back with DestroyIcon.
namespace platform {

// A named icon compiled into the program ("MAINICON", ...), the same handle for every
// call with the same name; 0 when there is no icon of that name. `instance` 0 is the
// program itself, the only module with icons.
HICON LoadIconA(HINSTANCE instance, const char* name);

HICON RegisterIcon(const QIcon& icon);  // 0 for a null icon
BOOL DestroyIcon(HICON icon);           // shared icons from LoadIconA stay
QIcon IconFromHandle(HICON icon);       // a null icon for 0 or an unknown handle

}  // namespace platform
