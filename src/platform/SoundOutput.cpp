#include "platform/SoundOutput.h"

#include <SDL.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <exception>
#include <memory>
#include <vector>

#include "platform/DefaultChime.h"
#include "platform/ModuleResources.h"
#include "platform/SoundVoice.h"
#include "platform/WaveImage.h"

namespace platform {

namespace {

using Bytes = std::vector<uint8_t>;

// Larger files are not sounds anyone clicks for.
constexpr uint64_t kMaxFileBytes = uint64_t{256} << 20;
// About a quarter of an hour at 44.1 kHz 16-bit stereo: longer clips are cut there.
constexpr uint64_t kMaxDeviceBytes = uint64_t{160} << 20;

std::optional<Bytes> ReadSoundFile(const char* path) {
  // O_NONBLOCK and the regular-file test keep a FIFO or device node from stalling us.
  int fd = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  std::optional<Bytes> result;
  struct stat st {};
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
      static_cast<uint64_t>(st.st_size) <= kMaxFileBytes) {
    Bytes bytes(static_cast<size_t>(st.st_size));
    size_t done = 0;
    while (done < bytes.size()) {
      ssize_t got = read(fd, bytes.data() + done, bytes.size() - done);
      if (got <= 0) break;
      done += static_cast<size_t>(got);
    }
    bytes.resize(done);  // a file that shrank while read is judged by what was there
    result = std::move(bytes);
  }
  close(fd);
  return result;
}

// A WAVE image handed over in memory carries its own length in its RIFF header.
std::span<const uint8_t> MemoryImage(const char* image) {
  const auto* p = reinterpret_cast<const uint8_t*>(image);
  if (std::memcmp(p, "RIFF", 4) != 0) return {};
  const uint64_t size =
      8 + (uint64_t{p[4]} | uint64_t{p[5]} << 8 | uint64_t{p[6]} << 16 | uint64_t{p[7]} << 24);
  return {p, static_cast<size_t>(std::min(size, kMaxResourceBytes))};
}

// The sound in the device's format, or nullopt when it cannot be decoded.
std::optional<Bytes> Decode(std::span<const uint8_t> image, const SDL_AudioSpec& device) {
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
      CleanWaveImage(*layout, static_cast<size_t>(std::min(maxInput, double(kMaxFileBytes))));

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

BOOL PlayOrThrow(const char* name, HMODULE module, DWORD flags) {
  SoundVoice& voice = SoundVoice::Instance();
  if (!name) {
    voice.Stop();
    return 1;
  }
  auto ticket = voice.Take((flags & SND_NOSTOP) != 0);
  if (!ticket) return 0;
  auto device = voice.Open();
  if (!device) return 0;

  std::optional<Bytes> file;
  std::span<const uint8_t> image;
  if ((flags & SND_RESOURCE) == SND_RESOURCE) {
    if (auto resource = FindWaveResource(module, name)) image = *resource;
  } else if (flags & SND_MEMORY) {
    image = MemoryImage(name);
  } else if ((file = ReadSoundFile(name))) {
    image = *file;
  }

  std::optional<Bytes> samples = image.empty() ? std::nullopt : Decode(image, *device);
  file.reset();
  const bool found = samples.has_value();
  if (!found) {
    if (flags & SND_NODEFAULT) return 0;
    samples = Decode(DefaultChimeWave(), *device);
    if (!samples) return 0;
  }

  const int bytesPerSecond =
      device->freq * device->channels * static_cast<int>(SDL_AUDIO_BITSIZE(device->format) / 8);
  const auto length = std::chrono::milliseconds(
      bytesPerSecond > 0 ? samples->size() * 1000 / static_cast<size_t>(bytesPerSecond) : 0);
  if (!voice.Start(*ticket, std::move(*samples))) return found ? 1 : 0;
  // The limit only matters if the device stops calling back; the clip ends first.
  if (!(flags & SND_ASYNC)) voice.Wait(*ticket, 2 * length + std::chrono::seconds(2));
  return found ? 1 : 0;
}

}  // namespace

BOOL PlaySoundA(const char* name, HMODULE module, DWORD flags) {
  BOOL played = 0;
  // Play threads have nobody to hand an error to; a sound too big for memory is lost.
  try {
    played = PlayOrThrow(name, module, flags);
  } catch (const std::exception&) {
  }
  // SDL keeps its error text per thread and frees it only when asked; play threads
  // are short-lived, so each would leave its copy behind.
  SDL_TLSCleanup();
  return played;
}

void ShutdownSoundOutput() {
  SoundVoice::Instance().Shutdown();
}

std::optional<SoundOutputInfo> GetSoundOutputInfo() {
  SoundVoice& voice = SoundVoice::Instance();
  auto opened = voice.Open();
  if (!opened) return std::nullopt;
  return SoundOutputInfo{voice.DriverName().value_or(""), opened->freq, opened->channels,
                         opened->samples};
}

bool IsSoundPlaying() {
  return SoundVoice::Instance().Playing();
}

std::optional<std::chrono::steady_clock::time_point> LatestClipFirstSampleTime() {
  return SoundVoice::Instance().FirstSampleTime();
}

}  // namespace platform
