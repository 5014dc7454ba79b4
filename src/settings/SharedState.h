#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "settings/SettingsFiles.h"

namespace settings {

// The placeholder at index 0 of the three lists, so real entries count from 1.
inline constexpr const char* kPlaceholder = "Bogus";

// State the configuration window shares with the catalogue, playback, the timer and
// the editors. Everything is used on the GUI thread, except that play threads read one
// sound-list entry and one unit path under `listsMutex`; the GUI thread takes it for
// every change of those two lists.
struct SharedState {
  SharedState() { ResetLists(); }

  std::vector<std::string> soundList;
  std::vector<std::string> unitList;
  std::vector<std::string> recentPicks;
  int recentCapacity = 0;

  std::string appFolder;  // ends with the path separator
  int unitSlotLimit = kUnitSlotLimit;
  int externalSlotLimit = kExternalSlotLimit;
  bool advertDue = true;

  std::mutex listsMutex;

  std::string PathOf(const char* fileName) const { return SettingsPath(appFolder, fileName); }

  // Cuts each list back to its placeholder, and the recent-picks capacity to 0: a rebuild
  // that stops early must not leave a capacity the new list cannot serve.
  void ResetLists() {
    {
      std::lock_guard lock(listsMutex);
      soundList.assign(1, kPlaceholder);
      unitList.assign(1, kPlaceholder);
    }
    recentPicks.assign(1, kPlaceholder);
    recentCapacity = 0;
  }
};

}  // namespace settings
