#pragma once

#include "settings/SharedState.h"

namespace tk {
class TComponent;
}

namespace sounds {

// Plays sound-list entries: unit clips on their own thread, external files
// asynchronously through the platform. Used on the GUI thread only.
class TSoundPlayer {
 public:
  explicit TSoundPlayer(settings::SharedState& state) : state_(state) {}

  // Click action of every sound entry: the sender is the menu entry, its tag the index.
  void MenuPlaySound(tk::TComponent* sender);
  // Plays entry `index` and returns at once; an index without a playable entry plays
  // nothing.
  void PlaySoundPicked(int index);
  // Plays a random entry that avoids the last recorded random picks.
  void PickRandomSound(tk::TComponent* sender);
  // Silences the sound that plays, of either kind; a waiting play thread then ends.
  void StopSound();

 private:
  settings::SharedState& state_;
};

}  // namespace sounds
