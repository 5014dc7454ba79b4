#pragma once

#include <cstdint>
#include <memory>

#include "platform/linux/sound/SoundVoice.h"
#include "platform/linux/wave/WaveSource.h"

namespace platform {

// One sound on its way to the voice, under the ticket it took.
struct SoundRequest {
  uint64_t ticket = 0;
  std::unique_ptr<WaveSource> source;  // null: the sound was not found
  bool useDefault = true;              // the chime in place of a sound that cannot play
};

// Opens the device, then decodes the sound and queues it on the voice piece by piece
// until it has all been queued or was cut off. Returns whether the sound itself (not
// the chime) played.
bool StreamSound(SoundVoice& voice, SoundRequest& request);

}  // namespace platform
