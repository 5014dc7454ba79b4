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

}  // namespace platform
