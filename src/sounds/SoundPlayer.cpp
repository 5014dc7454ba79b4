#include "sounds/SoundPlayer.h"

#include <algorithm>
#include <mutex>
#include <system_error>

#include "platform/SoundOutput.h"
#include "rtl/Random.h"
#include "sounds/PlaySoundThread.h"
#include "sounds/SoundEntry.h"
#include "toolkit/Menus.h"

namespace sounds {

void TSoundPlayer::MenuPlaySound(tk::TComponent* sender) {
  if (auto* item = dynamic_cast<tk::TMenuItem*>(sender)) {
    PlaySoundPicked(static_cast<int>(item->Tag()));
  }
}

void TSoundPlayer::PlaySoundPicked(int index) {
  std::string entry;
  {
    std::lock_guard lock(state_.listsMutex);
    // Index 0 is the placeholder, never a sound.
    if (index < 1 || index >= static_cast<int>(state_.soundList.size())) return;
    entry = state_.soundList[index];
  }
  if (IsUnitEntry(entry)) {
    auto* thread = new TPlaySoundThread(state_, index);
    thread->SetFreeOnTerminate(true);
    try {
      thread->Start();
    } catch (const std::system_error&) {
      // No thread could be made: the click plays nothing, as with any playback failure.
      delete thread;
    }
    return;
  }
  platform::PlaySoundA(ExternalPath(entry).c_str(), nullptr,
                       platform::SND_FILENAME | platform::SND_ASYNC);
}

void TSoundPlayer::PickRandomSound(tk::TComponent*) {
  const int count = static_cast<int>(state_.soundList.size());
  if (count <= 1) return;
  auto draw = [count] { return static_cast<int>(rtl::Random(count - 1)) + 1; };

  const int capacity = state_.recentCapacity;
  if (capacity <= 0) {
    PlaySoundPicked(draw());
    return;
  }
  auto& recent = state_.recentPicks;
  if (recent.empty()) recent.emplace_back(settings::kPlaceholder);
  // The capacity leaves fresh picks by design; the bound by the entry count makes sure
  // that a capacity set from elsewhere can never make the draw below loop forever.
  const int m = std::min({static_cast<int>(recent.size()) - 1, capacity, count - 2});
  int pick = draw();
  // Normally m covers every recorded pick; otherwise the latest ones count.
  auto recorded = [&](int p) {
    return std::find(recent.end() - m, recent.end(), std::to_string(p)) != recent.end();
  };
  while (m > 0 && recorded(pick)) pick = draw();

  if (static_cast<int>(recent.size()) - 1 >= capacity) recent.erase(recent.begin() + 1);
  recent.push_back(std::to_string(pick));
  PlaySoundPicked(pick);
}

void TSoundPlayer::StopSound() {
  platform::PlaySoundA(nullptr, 0, 0);
}

}  // namespace sounds
