#include "sounds/PlaySoundThread.h"

#include <mutex>

#include "platform/DynamicModule.h"
#include "platform/SoundOutput.h"
#include "sounds/SoundEntry.h"

namespace sounds {

std::atomic<int> TPlaySoundThread::alive_{0};

TPlaySoundThread::TPlaySoundThread(settings::SharedState& state, int index) : index_(index) {
  ++alive_;
  std::lock_guard lock(state.listsMutex);
  if (index < 0 || index >= static_cast<int>(state.soundList.size())) return;
  const auto clip = ParseUnitEntry(state.soundList[index]);
  if (!clip || clip->unitIndex < 0 || clip->unitIndex >= static_cast<int>(state.unitList.size()))
    return;
  resourceName_ = clip->resourceName;
  unitPath_ = state.unitList[clip->unitIndex];
  playable_ = true;
}

TPlaySoundThread::~TPlaySoundThread() {
  --alive_;
}

void TPlaySoundThread::Execute() {
  if (!playable_) return;
  // Read as data: the clip plays from a read-only mapping, and the unit's code never
  // runs here. A unit that cannot be read still goes to the sound output, which then
  // plays its default sound.
  const platform::HMODULE unit =
      platform::LoadLibraryExA(unitPath_.c_str(), nullptr, platform::LOAD_LIBRARY_AS_DATAFILE);
  platform::PlaySoundA(resourceName_.c_str(), unit, platform::SND_RESOURCE);
  if (unit) platform::FreeLibrary(unit);
}

}  // namespace sounds
