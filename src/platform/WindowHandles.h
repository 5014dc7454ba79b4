#pragma once

#include "platform/WinTypes.h"

// Window handles for our own windows, each with a replaceable window procedure, a user
// pointer, an extended style and optionally the widget it stands for (linux/QtBridge.h).
// GUI thread only. Handle values are never reused, so a stale handle never reaches a
// newer window.
namespace platform {

constexpr int GWL_EXSTYLE = -20;
constexpr LONG_PTR WS_EX_TOOLWINDOW = 0x80;

// Creates a window handle whose first procedure is `proc`; `user` is handed back by
// GetWindowUserData.
HWND CreateWindowHandle(WNDPROC proc, void* user, LONG_PTR exStyle = WS_EX_TOOLWINDOW);
void DestroyWindowHandle(HWND window);
bool IsWindow(HWND window);
void* GetWindowUserData(HWND window);

// GWL_WNDPROC reads or replaces the window's current procedure; GWL_EXSTYLE its extended
// style. Unknown windows and indices read 0 and change nothing. The setter returns the
// previous value.
LONG_PTR GetWindowLongA(HWND window, int index);
LONG_PTR SetWindowLongA(HWND window, int index, LONG_PTR value);

inline LONG_PTR ProcToLong(WNDPROC proc) {
  return reinterpret_cast<LONG_PTR>(proc);
}
inline WNDPROC LongToProc(LONG_PTR value) {
  return reinterpret_cast<WNDPROC>(value);
}

// Calls `proc` (0 when none).
LRESULT CallWindowProcA(WNDPROC proc, HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

// Sends the message through the window's current procedure and returns its result; 0 for
// an unknown window.
LRESULT SendMessageA(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

// Raises and activates the window's widget when it is on the screen.
BOOL SetForegroundWindow(HWND window);
// Where the pointer is; while an input that came with its own screen point is handled
// (a tray host's click), that point. Under Xwayland the X pointer stays where it last
// was over an X window, so the host's point is the only true one; without one, and with
// no window of ours under the X pointer, the middle of the screen.
BOOL GetCursorPos(POINT* point);

}  // namespace platform
