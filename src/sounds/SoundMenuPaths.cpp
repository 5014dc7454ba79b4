#include "sounds/SoundMenuPaths.h"

#include "sounds/Catalogue.h"
#include "toolkit/Menus.h"

namespace sounds {

std::vector<std::string> SoundMenuPaths(const tk::TPopupMenu& menu) {
  std::vector<std::string> paths;
  const tk::TMenuItem* root = menu.Items();
  for (int i = kExternalMenuIndex; i < root->Count(); ++i) {
    const tk::TMenuItem* soundMenu = root->Items(i);
    for (int j = 0; j < soundMenu->Count(); ++j) {
      paths.push_back(soundMenu->Caption() + "/" + soundMenu->Items(j)->Caption());
    }
  }
  return paths;
}

tk::TMenuItem* FindSoundMenuPath(const tk::TPopupMenu& menu, const std::string& path) {
  const tk::TMenuItem* root = menu.Items();
  for (int i = kExternalMenuIndex; i < root->Count(); ++i) {
    const tk::TMenuItem* soundMenu = root->Items(i);
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
