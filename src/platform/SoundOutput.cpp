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
#include "platform/SoundFileDecode.h"
#include "platform/SoundVoice.h"
#include "platform/WaveDecode.h"

namespace platform {

namespace {

using Bytes = std::vector<uint8_t>;

std::optional<Bytes> ReadSoundFile(const char* path) {
  // O_NONBLOCK and the regular-file test keep a FIFO or device node from stalling us.
  int fd = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  std::optional<Bytes> result;
  struct stat st {};
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
      static_cast<uint64_t>(st.st_size) <= kMaxSoundFileBytes) {
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

BOOL PlayOrThrow(const char* name, HMODULE module, DWORD flags) {
  SoundVoice& voice = SoundVoice::Instance();
  if (!name) {
    voice.Stop();
    return 1;
  }
  SoundVoice::Use use(voice);
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

  std::optional<Bytes> samples = image.empty() ? std::nullopt : DecodeWave(image, *device);
  // A file in another format goes through libsndfile to a WAVE image first. Other
  // files do not: what the WAVE path refused gets the chime, as it always has.
  if (!samples && file && HasOtherSoundFormatName(name)) {
    if (std::optional<Bytes> wave = DecodeSoundFileToWave(*file)) {
      samples = DecodeWave(*wave, *device);
    }
  }
  file.reset();
  const bool found = samples.has_value();
  if (!found) {
    if (flags & SND_NODEFAULT) return 0;
    samples = DecodeWave(DefaultChimeWave(), *device);
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

bool IsSoundOutputOpen() {
  return SoundVoice::Instance().DeviceOpen();
}

void SetSoundOutputIdleClose(std::chrono::milliseconds idle) {
  SoundVoice::Instance().SetIdleClose(idle);
}

std::optional<SoundOutputInfo> GetSoundOutputInfo() {
  SoundVoice& voice = SoundVoice::Instance();
  auto opened = voice.Open();
  if (!opened) return std::nullopt;
  return SoundOutputInfo{voice.DriverName().value_or(""), opened->freq, opened->channels,
                         opened->samples};
}

void SetSoundOutputDevice(const std::string& name) {
  SoundVoice::Instance().SetDeviceName(name);
}

std::vector<std::string> ListSoundOutputDevices() {
  return SoundVoice::Instance().DeviceNames();
}

bool IsSoundPlaying() {
  return SoundVoice::Instance().Playing();
}

std::optional<std::chrono::steady_clock::time_point> LatestClipFirstSampleTime() {
  return SoundVoice::Instance().FirstSampleTime();
}

}  // namespace platform
