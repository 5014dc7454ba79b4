// libFuzzer target: arbitrary bytes as a WAVE sound, taken apart, rebuilt clean and
// decoded into a device's format, as a clip is on its way to the sound card; and as a
// file of another format, through libsndfile to a WAVE image.
#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>

#include "platform/linux/sound/WaveDecode.h"
#include "platform/linux/wave/SoundFileDecode.h"
#include "platform/linux/wave/WaveImage.h"
#include "platform/linux/wave/WaveSource.h"

namespace {

[[noreturn]] void Broken(const char* what) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

SDL_AudioSpec Device(int freq, SDL_AudioFormat format, int channels) {
  SDL_AudioSpec device{};
  device.freq = freq;
  device.format = format;
  device.channels = static_cast<Uint8>(channels);
  return device;
}

bool Inside(std::span<const uint8_t> part, std::span<const uint8_t> whole) {
  return part.empty() ||
         (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

// Decodes the whole image piece by piece, as it streams to the device; false when
// refused. Pieces must be whole frames, and a sound must end.
bool Decode(std::span<const uint8_t> image, const SDL_AudioSpec& device) {
  auto source = platform::WaveSource::FromImage(image);
  auto decoder = platform::WaveDecoder::Open(*source, device);
  if (!decoder) return false;
  const size_t frame = SDL_AUDIO_BITSIZE(device.format) / 8 * device.channels;
  size_t total = 0;
  for (auto piece = decoder->Next(); !piece.empty(); piece = decoder->Next()) {
    if (piece.size() % frame != 0) Broken("decoded piece ends within a frame");
    total += piece.size();
    if (total > (size_t{1} << 31)) Broken("decoding does not end");
  }
  return true;
}

void CheckLayout(const platform::WaveLayout& w, std::span<const uint8_t> image) {
  if (!Inside(w.format, image) || !Inside(w.data, image)) Broken("chunk outside the image");
  if (w.blockAlign == 0 || w.data.size() % w.blockAlign != 0) Broken("data not whole blocks");
  if (w.channels == 0 || w.format.size() < 16) Broken("accepted a senseless format");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> image(data, size);
  if (const auto wave = platform::DecodeSoundFileToWave(image)) {
    if (!platform::ParseWave(*wave)) Broken("libsndfile's image refused");
    if (!Decode(*wave, Device(44100, AUDIO_S16SYS, 2))) Broken("not decoded");
  }
  std::string why;
  const auto layout = platform::ParseWave(image, &why);
  if (!layout) {
    if (why.empty()) Broken("refused without a reason");
    if (Decode(image, Device(44100, AUDIO_S16SYS, 2))) Broken("decoded a refused image");
    return 0;
  }
  CheckLayout(*layout, image);

  // The clean image says the same, with every size true.
  const std::vector<uint8_t> clean = platform::CleanWaveImage(*layout, size);
  const auto again = platform::ParseWave(clean);
  if (!again) Broken("clean image refused");
  CheckLayout(*again, clean);
  if (again->formatTag != layout->formatTag || again->channels != layout->channels ||
      again->sampleRate != layout->sampleRate || again->blockAlign != layout->blockAlign ||
      again->bitsPerSample != layout->bitsPerSample)
    Broken("clean image has another format");
  if (again->data.size() != layout->data.size() ||
      !std::equal(again->data.begin(), again->data.end(), layout->data.begin()))
    Broken("clean image has other samples");

  // The format the voice asks for, and one a device may offer instead.
  const SDL_AudioSpec devices[] = {Device(44100, AUDIO_S16SYS, 2), Device(48000, AUDIO_F32SYS, 1)};
  for (const SDL_AudioSpec& device : devices)
    if (!Decode(image, device)) break;
  return 0;
}
