#pragma once

#include "platform/WindowHandles.h"

class QIcon;
class QWidget;

// Where the Qt-based layers above meet the handles of the platform interface: the widget
// behind a window handle, and the QIcon behind an icon handle. The rest of the interface
// knows no Qt type. GUI thread only.
namespace platform {

// CreateWindowHandle for a window that stands for `widget`: the widget is what
// SetForegroundWindow raises and what the tool-window style applies to.
HWND CreateWidgetWindowHandle(WNDPROC proc, void* user, QWidget* widget,
                              LONG_PTR exStyle = WS_EX_TOOLWINDOW);
QWidget* GetWindowWidget(HWND window);

HICON RegisterIcon(const QIcon& icon);  // 0 for a null icon; given back with DestroyIcon
QIcon IconFromHandle(HICON icon);       // a null icon for 0 or an unknown handle

// Keeps a top-level widget off the taskbar and the pager: on X11 the
// _NET_WM_STATE_SKIP_TASKBAR / _NET_WM_STATE_SKIP_PAGER states, set again each time the
// widget is shown because the window manager drops them on unmap; elsewhere the
// tool-window flag. A plain window stays one: Qt makes a tool window transient for a
// window that is never shown, which window managers warn of.
void ApplySkipTaskbar(QWidget* widget);

// A Wayland session, where the program runs on Xwayland: windows the compositor does
// not manage (popups) get neither the keyboard nor word of clicks elsewhere, and the X
// pointer stays where it last left a window of ours.
bool InWaylandSession();

// Asks the window manager to give the shown window the keyboard now, as a pager asks
// it: a menu opened from outside (a key daemon, a terminal) has no click of the user
// behind it, which focus-stealing prevention would want.
void TakeKeyboardFocus(QWidget* window);

}  // namespace platform
