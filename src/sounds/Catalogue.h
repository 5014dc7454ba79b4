#pragma once

#include <functional>
#include <string>

#include "settings/SharedState.h"
#include "sounds/SoundPlayer.h"

namespace tk {
class TComponent;
class TPopupMenu;
}  // namespace tk

namespace sounds {

// "External Sounds" is this top-level entry of the tray menu; the unit menus follow it.
inline constexpr int kExternalMenuIndex = 5;

// Builds the sound list, the unit list and the sound entries of the tray menu from the
// settings files, so that every entry's tag is the index of its sound-list entry. The
// main window owns one and delegates its catalogue and playback operations to it.
class TCatalogue {
 public:
  // `owner` owns the unit menus; `popupMenu` already holds its fixed items 0 to 5, with
  // "External Sounds" at index 5. `restoreTimer` restores the timer from its settings
  // file at the end of each rebuild.
  TCatalogue(settings::SharedState& state, tk::TComponent* owner, tk::TPopupMenu& popupMenu,
             std::function<void()> restoreTimer);
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

  void PlaySoundPicked(int index) { player_.PlaySoundPicked(index); }
  void PickRandomSound(tk::TComponent* sender) { player_.PickRandomSound(sender); }
  void StopSound() { player_.StopSound(); }

 private:
  void ClearCatalogue();
  void ReadUnits();
  void ReadExternalSounds();
  // Appends under the lists' mutex and returns the new entry's index.
  int AppendSound(std::string entry);

  settings::SharedState& state_;
  tk::TComponent* owner_;
  tk::TPopupMenu& popupMenu_;
  std::function<void()> restoreTimer_;
  TSoundPlayer player_;
  std::string currentUnitMenuName_;
};

}  // namespace sounds
