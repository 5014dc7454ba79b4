#include "platform/WaveDecode.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>

#include "platform/WaveImage.h"

namespace platform {

namespace {

// About a quarter of an hour at 44.1 kHz 16-bit stereo: longer clips are cut there.
constexpr uint64_t kMaxDeviceBytes = uint64_t{160} << 20;

}  // namespace

std::optional<std::vector<uint8_t>> DecodeWave(std::span<const uint8_t> image,
                                               const SDL_AudioSpec& device) {
  using Bytes = std::vector<uint8_t>;
  auto layout = ParseWave(image);
  if (!layout) return std::nullopt;

  // Cap the input so that the clip in device format stays within kMaxDeviceBytes;
  // compressed encodings may grow four-fold when decoded.
  const bool plain =
      layout->formatTag == 1 || layout->formatTag == 3 || layout->formatTag == 0xFFFE;
  const double decodedPerSecond =
      double(layout->sampleRate) * layout->channels * (plain ? layout->bitsPerSample / 8 : 2);
  const double devicePerSecond =
      double(device.freq) * device.channels * (SDL_AUDIO_BITSIZE(device.format) / 8);
  const double maxInput =
      double(kMaxDeviceBytes) / (plain ? 1 : 4) * decodedPerSecond / std::max(1.0, devicePerSecond);
  Bytes clean =
      CleanWaveImage(*layout, static_cast<size_t>(std::min(maxInput, double(kMaxSoundFileBytes))));

  SDL_AudioCVT probe{};
  SDL_AudioSpec clip{};
  Uint8* decoded = nullptr;
  Uint32 decodedBytes = 0;
  SDL_RWops* rw = SDL_RWFromConstMem(clean.data(), static_cast<int>(clean.size()));
  if (!rw || !SDL_LoadWAV_RW(rw, 1, &clip, &decoded, &decodedBytes)) return std::nullopt;
  std::unique_ptr<Uint8, void (*)(Uint8*)> owned(decoded, SDL_FreeWAV);

  std::optional<Bytes> result;
  if (SDL_BuildAudioCVT(&probe, clip.format, clip.channels, clip.freq, device.format,
                        device.channels, device.freq) >= 0) {
    const size_t frameIn = static_cast<size_t>(SDL_AUDIO_BITSIZE(clip.format) / 8) * clip.channels;
    size_t length = decodedBytes - decodedBytes % frameIn;
    const size_t mult = static_cast<size_t>(std::max(1, probe.len_mult));
    if (length == 0) return Bytes();  // a valid sound of no length
    if (length * mult > size_t{INT_MAX}) return std::nullopt;
    Bytes work(length * mult);
    std::memcpy(work.data(), decoded, length);
    probe.buf = work.data();
    probe.len = static_cast<int>(length);
    if (probe.needed == 0 || SDL_ConvertAudio(&probe) == 0) {
      work.resize(probe.needed ? static_cast<size_t>(probe.len_cvt) : length);
      result = std::move(work);
    }
  }
  return result;
}

}  // namespace platform
