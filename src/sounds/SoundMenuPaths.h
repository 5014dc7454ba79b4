#pragma once

#include <string>
#include <vector>

namespace tk {
class TMenuItem;
}

namespace sounds {

// The sound entries of the tray menu by the names callers from outside give them:
// "<menu caption>/<entry caption>", as "External Sounds/Door" or "Demo Sounds/Beep".
// `soundMenus` are the menus that hold sound entries (TCatalogue::SoundMenus).

// Every sound entry's name, in menu order.
std::vector<std::string> SoundMenuPaths(const std::vector<tk::TMenuItem*>& soundMenus);

// The first sound entry of that name; nullptr when none has it. A caption may itself
// hold "/", and the access-key marks of a caption may be left out.
tk::TMenuItem* FindSoundMenuPath(const std::vector<tk::TMenuItem*>& soundMenus,
                                 const std::string& path);

}  // namespace sounds
