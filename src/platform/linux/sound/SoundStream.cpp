#include "platform/linux/sound/SoundStream.h"

#include <chrono>

#include "platform/linux/sound/DefaultChime.h"
#include "platform/linux/sound/WaveDecode.h"

namespace platform {

namespace {

// A device that takes nothing for this long has stopped calling back.
constexpr auto kStall = std::chrono::seconds(2);

}  // namespace

bool StreamSound(SoundVoice& voice, SoundRequest& request) {
  SoundVoice::Use use(voice);
  auto device = voice.Open();
  if (!device) {
    voice.Abandon(request.ticket);
    return false;
  }
  std::unique_ptr<WaveSource> chime;
  std::unique_ptr<WaveDecoder> decoder;
  if (request.source) decoder = WaveDecoder::Open(*request.source, *device);
  const bool found = decoder != nullptr;
  if (!found && request.useDefault) {
    chime = WaveSource::FromImage(DefaultChimeWave());
    decoder = WaveDecoder::Open(*chime, *device);
  }
  if (!decoder) {
    voice.Abandon(request.ticket);
    return false;
  }
  for (auto piece = decoder->Next(); !piece.empty(); piece = decoder->Next())
    if (!voice.Push(request.ticket, std::move(piece), kStall)) return found;
  voice.Finish(request.ticket);
  return found;
}

}  // namespace platform
