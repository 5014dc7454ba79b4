#include "platform/SoundOutput.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <memory>
#include <utility>
#include <vector>

#include "platform/ModuleResources.h"
#include "platform/Observation.h"
#include "platform/linux/sound/SoundStream.h"
#include "platform/linux/sound/SoundStreamer.h"
#include "platform/linux/sound/SoundVoice.h"
#include "platform/linux/wave/WaveSource.h"

namespace platform {

namespace {

// A WAVE image handed over in memory carries its own length in its RIFF header.
std::span<const uint8_t> MemoryImage(const char* image) {
  const auto* p = reinterpret_cast<const uint8_t*>(image);
  if (std::memcmp(p, "RIFF", 4) != 0) return {};
  const uint64_t size =
      8 + (uint64_t{p[4]} | uint64_t{p[5]} << 8 | uint64_t{p[6]} << 16 | uint64_t{p[7]} << 24);
  return {p, static_cast<size_t>(std::min(size, kMaxResourceBytes))};
}

std::unique_ptr<WaveSource> FindSound(const char* name, HMODULE module, DWORD flags) {
  if ((flags & SND_RESOURCE) == SND_RESOURCE) {
    auto resource = FindWaveResource(module, name);
    return resource ? WaveSource::FromImage(*resource) : nullptr;
  }
  if (flags & SND_MEMORY) {
    auto image = MemoryImage(name);
    return image.empty() ? nullptr : WaveSource::FromImage(image);
  }
  return WaveSource::FromFile(name);
}

BOOL PlayOrThrow(const char* name, HMODULE module, DWORD flags) {
  SoundVoice& voice = SoundVoice::Instance();
  if (!name) {
    SoundStreamer::Instance().Release(voice.Stop());
    return 1;
  }
  auto ticket = voice.Take((flags & SND_NOSTOP) != 0);
  if (!ticket) return 0;
  SoundRequest request{*ticket, nullptr, (flags & SND_NODEFAULT) == 0};
  try {
    request.source = FindSound(name, module, flags);
    const bool found = request.source != nullptr;
    if (flags & SND_ASYNC) {
      // What the sound holds is judged while it streams: a damaged one gives the chime.
      if (found || request.useDefault)
        SoundStreamer::Instance().Post(std::move(request));
      else
        voice.Abandon(*ticket);
      return found ? 1 : 0;
    }
    const bool played = StreamSound(voice, request);
    // At most about half a second is queued now. The limit only matters if the device
    // stops calling back; the clip ends first.
    voice.Wait(*ticket, std::chrono::seconds(3));
    return played ? 1 : 0;
  } catch (...) {
    voice.Abandon(*ticket);
    throw;
  }
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
  SoundVoice& voice = SoundVoice::Instance();
  // The streamer must let go first, or it could open the device again.
  SoundStreamer::Instance().Drain(voice.Stop());
  voice.Shutdown();
}

void HaltSoundOutput() {
  SoundVoice::Instance().Halt();
}

void OpenSoundOutputAhead() {
  SoundVoice::Instance().OpenAhead();
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

void SetSoundOutputBufferFrames(int frames) {
  SoundVoice::Instance().SetBufferFrames(frames);
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

uint64_t SoundOutputUnderruns() {
  return SoundVoice::Instance().Underruns();
}

std::optional<std::chrono::steady_clock::time_point> LatestClipFirstSampleTime() {
  return SoundVoice::Instance().FirstSampleTime();
}

}  // namespace platform
