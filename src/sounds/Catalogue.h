#pragma once

#include <functional>
#include <string>
#include <vector>

#include "settings/SharedState.h"
#include "sounds/SoundPlayer.h"

namespace tk {
class TComponent;
class TMenuItem;
}  // namespace tk

namespace sounds {

// Builds the sound list, the unit list and the sound entries of the tray menu from the
// settings files, so that every entry's tag is the index of its sound-list entry. The
// main window owns one and delegates its catalogue and playback operations to it.
class TCatalogue {
 public:
  // `owner` owns the unit menus. `externalMenu` is the tray menu's "External Sounds"
  // item; the unit menus go among the top-level items right after `unitMenusAfter`. The
  // catalogue touches no other item, wherever the menu's own items stand.
  // `restoreTimer` restores the timer from its settings file at the end of each rebuild.
  TCatalogue(settings::SharedState& state, tk::TComponent* owner, tk::TMenuItem& externalMenu,
             tk::TMenuItem& unitMenusAfter, std::function<void()> restoreTimer);
  // The menu entries' click actions refer to this object.
  TCatalogue(const TCatalogue&) = delete;
  TCatalogue& operator=(const TCatalogue&) = delete;

  // Rebuilds the lists and the menu from scratch. A count that is not a whole number
  // raises rtl::EConvertError; what was built before stays.
  void ReadSettings(tk::TComponent* sender);
  // Reads one unit's clip list into the sound list and a menu of its own. A unit that
  // cannot be loaded or lacks an export gets no menu and no entries.
  void ReadDLL(const std::string& path, int index);
  void AddMainMenu(const std::string& caption, const std::string& identifier);
  void AddSubMenu(const std::string& parentName, const std::string& caption, bool newColumn,
                  int index);

  // The menus that hold sound entries: "External Sounds", then the unit menus in order.
  std::vector<tk::TMenuItem*> SoundMenus() const;

  void PlaySoundPicked(int index) { player_.PlaySoundPicked(index); }
  void PickRandomSound(tk::TComponent* sender) { player_.PickRandomSound(sender); }
  void StopSound() { player_.StopSound(); }

 private:
  void ClearCatalogue();
  void ReadUnits();
  void ReadExternalSounds();
  // The first sound menu of that name, or nullptr.
  tk::TMenuItem* FindSoundMenu(const std::string& name) const;
  // Appends under the lists' mutex and returns the new entry's index.
  int AppendSound(std::string entry);

  settings::SharedState& state_;
  tk::TComponent* owner_;
  tk::TMenuItem& externalMenu_;
  tk::TMenuItem& unitMenusAfter_;
  // The unit menus of the latest rebuild, in menu order.
  std::vector<tk::TMenuItem*> unitMenus_;
  std::function<void()> restoreTimer_;
  TSoundPlayer player_;
  std::string currentUnitMenuName_;
};

}  // namespace sounds
