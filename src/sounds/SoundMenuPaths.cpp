#include "sounds/SoundMenuPaths.h"

#include "toolkit/Menus.h"

namespace sounds {

std::vector<std::string> SoundMenuPaths(const std::vector<tk::TMenuItem*>& soundMenus) {
  std::vector<std::string> paths;
  for (const tk::TMenuItem* soundMenu : soundMenus) {
    for (int j = 0; j < soundMenu->Count(); ++j) {
      paths.push_back(soundMenu->Caption() + "/" + soundMenu->Items(j)->Caption());
    }
  }
  return paths;
}

tk::TMenuItem* FindSoundMenuPath(const std::vector<tk::TMenuItem*>& soundMenus,
                                 const std::string& path) {
  for (const tk::TMenuItem* soundMenu : soundMenus) {
    const std::string prefix = soundMenu->Caption() + "/";
    if (path.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string caption = path.substr(prefix.size());
    for (int j = 0; j < soundMenu->Count(); ++j) {
      if (soundMenu->Items(j)->Caption() == caption) return soundMenu->Items(j);
    }
    if (tk::TMenuItem* loose = soundMenu->Find(caption)) return loose;
  }
  return nullptr;
}

}  // namespace sounds
