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
  const platform::HMODULE unit = platform::LoadLibraryA(unitPath_.c_str());
  // A unit that failed to load still goes to the sound output, which then plays its
  // default sound.
  platform::PlaySoundA(resourceName_.c_str(), unit, platform::SND_RESOURCE);
  if (unit) platform::FreeLibrary(unit);
}

}  // namespace sounds
