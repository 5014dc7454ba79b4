#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/WinTypes.h"

// The shell's notification area: one tray icon per (window, id), shown to whichever tray
// host the desktop has. A mouse action on an icon becomes the record's callback message, sent to
// its window with the icon's id as WPARAM and the mouse message as LPARAM. GUI thread only.
namespace platform {

// The record in its first shape. Pointer-sized handles make it larger than 88 bytes on
// 64-bit Linux; callers still write 88 into cbSize, the size the shell knows it by.
struct NOTIFYICONDATAA {
  DWORD cbSize = 0;
  HWND hWnd = 0;
  UINT uID = 0;
  UINT uFlags = 0;
  UINT uCallbackMessage = 0;
  HICON hIcon = 0;
  char szTip[64] = {};
};
constexpr DWORD NOTIFYICONDATAA_V1_SIZE = 88;

constexpr DWORD NIM_ADD = 0;
constexpr DWORD NIM_MODIFY = 1;
constexpr DWORD NIM_DELETE = 2;
constexpr UINT NIF_MESSAGE = 1;
constexpr UINT NIF_ICON = 2;
constexpr UINT NIF_TIP = 4;

constexpr UINT WM_MBUTTONDOWN = 0x0207;

// Adding an existing icon, or changing or deleting a missing one, fails (returns 0).
// An icon without NIF_TIP shows no tip.
BOOL Shell_NotifyIconA(DWORD message, const NOTIFYICONDATAA* data);

// A menu for hosts that draw the icon's menu themselves (StatusNotifierItem hosts do;
// XEmbed hosts leave it to the program). Ids are the caller's own, above 0. A caption
// marks its access key with "&"; the caption "-" is a separator line.
struct TrayMenuEntry {
  int id = 0;
  std::string caption;
  bool enabled = true;
  bool checked = false;
  bool radio = false;
  std::vector<TrayMenuEntry> entries;
};
using TrayMenuChoice = std::function<void(int id)>;

// Gives the icon that menu, replacing the one before; the host shows the change at once.
// Choosing an entry there calls onChoose with its id on the GUI thread; the host's
// showing of the whole menu calls it with 0. Fails (returns 0) for a missing icon.
BOOL SetNotifyIconMenu(HWND window, UINT id, TrayMenuEntry menu, TrayMenuChoice onChoose);

}  // namespace platform
