#pragma once

#include <string>
#include <vector>

namespace tk {
class TMenuItem;
class TPopupMenu;
}  // namespace tk

namespace sounds {

// The sound entries of the tray menu by the names callers from outside give them:
// "<menu caption>/<entry caption>", as "External Sounds/Door" or "Demo Sounds/Beep".
// Only "External Sounds" and the unit menus after it hold sound entries.

// Every sound entry's name, in menu order.
std::vector<std::string> SoundMenuPaths(const tk::TPopupMenu& menu);

// The first sound entry of that name; nullptr when none has it. A caption may itself
// hold "/", and the access-key marks of a caption may be left out.
tk::TMenuItem* FindSoundMenuPath(const tk::TPopupMenu& menu, const std::string& path);

}  // namespace sounds
