#pragma once

#include <initializer_list>

class QWidget;

// The few X11 window properties Qt offers no call for. Each does nothing when the program
// does not run on X11 (offscreen tests, Wayland).
namespace platform {

// WM_CLASS: instance name and class name.
void SetX11WindowClass(QWidget* widget, const char* instance, const char* className);

// Adds states to _NET_WM_STATE of a window that is not mapped yet.
void AddX11NetWmStates(QWidget* widget, std::initializer_list<const char*> states);

// Whether the program shows its windows on X11.
bool IsX11();

// Asks the window manager to activate the window as a pager asks it (_NET_ACTIVE_WINDOW,
// source 2, stamped with the server's time); false when not on X11.
bool ActivateX11Window(QWidget* widget);

}  // namespace platform
