#pragma once

#include <cstdint>

// The shapes of the Windows interfaces the program is written against. Handles are
// opaque numbers (0 = none) or pointers owned by the platform layer.
namespace platform {

using UINT = uint32_t;
using DWORD = uint32_t;
using BOOL = int;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using LONG_PTR = intptr_t;

using HWND = uintptr_t;       // a window of ours; 0 = none
using HICON = uintptr_t;      // an icon held by the platform layer; 0 = none
using HINSTANCE = uintptr_t;  // 0 stands for the program's own executable
struct Module;                // a loaded dynamic module
using HMODULE = Module*;

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

struct POINT {
  int32_t x = 0;
  int32_t y = 0;
};

constexpr int GWL_WNDPROC = -4;

// Mouse messages the notification area reports.
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_USER = 0x0400;

}  // namespace platform
