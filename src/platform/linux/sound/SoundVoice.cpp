#include "platform/linux/sound/SoundVoice.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/linux/sound/PipeWireServer.h"

namespace platform {

namespace {

constexpr int kRate = 44100;
constexpr int kChannels = 2;
// A device calls back every few milliseconds; one silent for this long has been lost,
// which some of SDL's drivers never report.
constexpr auto kSilentDevice = std::chrono::seconds(1);

// What a clip may queue ahead of the device: enough to ride out a busy machine's
// scheduling, little enough that a long clip holds almost nothing in memory.
size_t LeadBytes(const SDL_AudioSpec& device) {
  const size_t perSecond = static_cast<size_t>(device.freq) * device.channels *
                           static_cast<size_t>(SDL_AUDIO_BITSIZE(device.format) / 8);
  return std::max<size_t>(perSecond / 2, device.size);
}

// The desktop's mixer lists our stream by these (pavucontrol, GNOME's and KDE's sound
// settings), so its volume can be set there; PrepareSoundOutput gave it its icon.
void NameTheStream() {
  SDL_SetHintWithPriority(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Jabberwell v3", SDL_HINT_DEFAULT);
  SDL_SetHintWithPriority(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, "Jabberwell v3", SDL_HINT_DEFAULT);
}

// SDL's disk driver is a record of what played and never closes for idleness.
bool RecordingDriverChosen() {
  const char* driver = std::getenv("SDL_AUDIODRIVER");
  return driver && std::strcmp(driver, "disk") == 0;
}

}  // namespace

SoundVoice& SoundVoice::Instance() {
  // Never destroyed: detached play threads may still wait on it while the process ends.
  static SoundVoice* voice = new SoundVoice;
  return *voice;
}

SoundVoice::Use::Use(SoundVoice& voice) : voice_(voice) {
  std::lock_guard device(voice_.deviceMutex_);
  ++voice_.users_;
}

SoundVoice::Use::~Use() {
  std::lock_guard device(voice_.deviceMutex_);
  --voice_.users_;
  voice_.lastUse_ = Clock::now();
}

std::optional<SDL_AudioSpec> SoundVoice::Open() {
  std::lock_guard device(deviceMutex_);
  if (device_ && !Lost()) {
    std::lock_guard lock(mutex_);
    return spec_;
  }
  if (device_) DropLostDevice();
  SDL_AudioSpec want{};
  want.freq = kRate;
  want.format = AUDIO_S16SYS;
  want.channels = kChannels;
  want.samples = static_cast<Uint16>(bufferFrames_);
  want.callback = &SoundVoice::Callback;
  want.userdata = this;
  SDL_AudioSpec got{};

  // Any format the device prefers is fine: clips are converted to it as they stream.
  // The chosen output device when there is one and it opens, else the default one.
  auto tryOpen = [&]() -> SDL_AudioDeviceID {
    if (!InitAudio()) return 0;
    // At the output's own rate and format the sound server has nothing to resample.
    // More than two channels would only spread stereo clips; the server does that.
    SDL_AudioSpec own{};
    if (SDL_GetDefaultAudioInfo(nullptr, &own, 0) == 0 && own.freq > 0 && own.channels > 0) {
      want.freq = own.freq;
      want.format = own.format;
      want.channels = std::min<Uint8>(own.channels, kChannels);
    }
    SDL_AudioDeviceID id = 0;
    if (!deviceName_.empty()) {
      id = SDL_OpenAudioDevice(deviceName_.c_str(), 0, &want, &got, SDL_AUDIO_ALLOW_ANY_CHANGE);
    }
    if (!id) id = SDL_OpenAudioDevice(nullptr, 0, &want, &got, SDL_AUDIO_ALLOW_ANY_CHANGE);
    if (!id) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return id;
  };
  NameTheStream();
  // Every driver is worth another try: a sound server may have come back.
  ForgetDummy();
  SDL_AudioDeviceID id = tryOpen();
  if (!id && onPipeWire_) {
    // PipeWire's driver started but opened no device: SDL's own order of drivers next.
    pipeWireFailed_ = true;
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    id = tryOpen();
  }
  if (!id) {
    // No sound hardware or server: play into the void rather than fail every call.
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    forcedDummy_ = true;
    id = tryOpen();
  }
  if (!id) return std::nullopt;
  {
    std::lock_guard lock(mutex_);
    spec_ = got;
    lastCallback_ = Clock::now();
  }
  device_ = id;
  lastUse_ = Clock::now();
  SDL_PauseAudioDevice(id, 0);
  // SDL's disk driver starts its file afresh on each opening; as a record of all that
  // played it stays open.
  const char* driver = SDL_GetCurrentAudioDriver();
  if (!closerRunning_ && !(driver && std::strcmp(driver, "disk") == 0)) {
    closerRunning_ = true;
    std::thread([this] { CloseWhenIdle(); }).detach();
  }
  return got;
}

bool SoundVoice::InitAudio() {
  // SDL 2 tries its PulseAudio driver before its PipeWire one. On a PipeWire server its
  // own driver takes about 15 ms less from click to sound than the server's PulseAudio
  // layer. A driver named in SDL_AUDIODRIVER wins.
  onPipeWire_ = !pipeWireFailed_ && PipeWireServerRunning() &&
                SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "pipewire", SDL_HINT_DEFAULT);
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) return true;
  if (!onPipeWire_) return false;
  pipeWireFailed_ = true;
  onPipeWire_ = false;
  SDL_ResetHint(SDL_HINT_AUDIODRIVER);
  return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

bool SoundVoice::Lost() {
  if (forcedDummy_ || SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_STOPPED) return true;
  std::lock_guard lock(mutex_);
  return Clock::now() - lastCallback_ > kSilentDevice;
}

void SoundVoice::DropLostDevice() {
  SDL_CloseAudioDevice(device_);
  device_ = 0;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SoundVoice::ForgetDummy() {
  if (!forcedDummy_) return;
  SDL_ResetHint(SDL_HINT_AUDIODRIVER);
  forcedDummy_ = false;
  pipeWireFailed_ = false;
}

void SoundVoice::OpenAhead() {
  if (RecordingDriverChosen()) return;
  {
    // The menu's thread never waits for the device: whoever holds it is opening or
    // closing it already, and an opening that hangs (a sound server whose session
    // manager is gone) would freeze the menu.
    std::unique_lock device(deviceMutex_, std::try_to_lock);
    if (!device.owns_lock()) return;
    if (device_ && !Lost()) {
      lastUse_ = Clock::now();
      return;
    }
    // One opener at a time; one asked again while it finishes opens again if the device
    // closed meanwhile, rather than dropping the request.
    askedAhead_ = true;
    if (openingAhead_) return;
    openingAhead_ = true;
  }
  std::thread([this] {
    std::unique_lock device(deviceMutex_);
    while (askedAhead_) {
      askedAhead_ = false;
      device.unlock();
      Open();
      device.lock();
    }
    askedAhead_ = false;
    openingAhead_ = false;
    device.unlock();
    SDL_TLSCleanup();
  }).detach();
}

void SoundVoice::CloseWhenIdle() {
  std::unique_lock device(deviceMutex_);
  while (device_) {
    Clock::time_point idleSince;
    bool playing;
    {
      std::lock_guard lock(mutex_);
      playing = playingTicket_ != 0;
      idleSince = std::max(lastUse_, clipEnded_);
    }
    const auto now = Clock::now();
    if (users_ == 0 && !playing && now - idleSince >= idleClose_) {
      CloseDevice();
      break;
    }
    const auto wait =
        users_ > 0 || playing ? Clock::duration(idleClose_) : idleSince + idleClose_ - now;
    deviceChanged_.wait_for(device, wait);
  }
  closerRunning_ = false;
}

void SoundVoice::SetIdleClose(Clock::duration idle) {
  std::lock_guard device(deviceMutex_);
  idleClose_ = idle;
  deviceChanged_.notify_all();
}

bool SoundVoice::DeviceOpen() {
  std::lock_guard device(deviceMutex_);
  return device_ != 0;
}

std::optional<uint64_t> SoundVoice::Take(bool unlessPlaying) {
  std::deque<std::vector<uint8_t>> dropped;  // freed outside the lock
  std::lock_guard lock(mutex_);
  if (unlessPlaying && playingTicket_ != 0) return std::nullopt;
  dropped = Clear();
  firstSample_.reset();
  playingTicket_ = ++latestTicket_;
  changed_.notify_all();
  return playingTicket_;
}

uint64_t SoundVoice::Stop() {
  std::deque<std::vector<uint8_t>> dropped;
  std::lock_guard lock(mutex_);
  dropped = Clear();
  playingTicket_ = 0;
  changed_.notify_all();
  return ++latestTicket_;
}

bool SoundVoice::Push(uint64_t ticket, std::vector<uint8_t> piece, Clock::duration stall) {
  std::deque<std::vector<uint8_t>> dropped;
  std::unique_lock lock(mutex_);
  const size_t lead = LeadBytes(spec_);
  if (!changed_.wait_for(lock, stall, [&] { return playingTicket_ != ticket || queued_ < lead; })) {
    dropped = Clear();
    EndClip();
    return false;
  }
  if (playingTicket_ != ticket) return false;
  queued_ += piece.size();
  if (!piece.empty()) queue_.push_back(std::move(piece));
  return true;
}

void SoundVoice::Finish(uint64_t ticket) {
  std::lock_guard lock(mutex_);
  if (playingTicket_ != ticket) return;
  finished_ = true;
  if (queue_.empty()) EndClip();
}

void SoundVoice::Abandon(uint64_t ticket) {
  std::deque<std::vector<uint8_t>> dropped;
  std::lock_guard lock(mutex_);
  if (playingTicket_ != ticket) return;
  dropped = Clear();
  EndClip();
}

std::deque<std::vector<uint8_t>> SoundVoice::Clear() {
  queued_ = 0;
  position_ = 0;
  finished_ = false;
  return std::exchange(queue_, {});
}

void SoundVoice::EndClip() {
  playingTicket_ = 0;
  clipEnded_ = Clock::now();
  changed_.notify_all();
}

void SoundVoice::Wait(uint64_t ticket, Clock::duration limit) {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, limit, [&] { return playingTicket_ != ticket; });
}

bool SoundVoice::Playing() const {
  std::lock_guard lock(mutex_);
  return playingTicket_ != 0;
}

std::optional<SoundVoice::Clock::time_point> SoundVoice::FirstSampleTime() const {
  std::lock_guard lock(mutex_);
  return firstSample_;
}

std::optional<std::string> SoundVoice::DriverName() {
  std::lock_guard device(deviceMutex_);
  if (!device_) return std::nullopt;
  const char* name = SDL_GetCurrentAudioDriver();
  return std::string(name ? name : "");
}

void SoundVoice::SetBufferFrames(int frames) {
  std::lock_guard device(deviceMutex_);
  bufferFrames_ = frames;
}

uint64_t SoundVoice::Underruns() const {
  std::lock_guard lock(mutex_);
  return underruns_;
}

void SoundVoice::SetDeviceName(const std::string& name) {
  {
    std::lock_guard device(deviceMutex_);
    if (name == deviceName_) return;
    deviceName_ = name;
  }
  Shutdown();
}

std::vector<std::string> SoundVoice::DeviceNames() {
  std::lock_guard device(deviceMutex_);
  std::vector<std::string> names;
  if (!InitAudio()) return names;
  const int count = SDL_GetNumAudioDevices(0);
  for (int i = 0; i < count; ++i) {
    if (const char* name = SDL_GetAudioDeviceName(i, 0)) names.emplace_back(name);
  }
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  return names;
}

void SoundVoice::Halt() {
  std::lock_guard device(deviceMutex_);
  if (device_) SDL_PauseAudioDevice(device_, 1);
}

void SoundVoice::Shutdown() {
  std::lock_guard device(deviceMutex_);
  Stop();
  CloseDevice();
  ForgetDummy();
}

void SoundVoice::CloseDevice() {
  if (!device_) return;
  SDL_CloseAudioDevice(device_);
  device_ = 0;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  std::deque<std::vector<uint8_t>> played;  // freed outside the lock
  {
    std::lock_guard lock(mutex_);
    played = Clear();
    playingTicket_ = 0;
    changed_.notify_all();
  }
  deviceChanged_.notify_all();
}

void SoundVoice::SetTap(Tap tap) {
  std::lock_guard lock(tapMutex_);
  tap_ = std::move(tap);
}

void SoundVoice::Callback(void* self, Uint8* stream, int length) {
  auto* voice = static_cast<SoundVoice*>(self);
  if (const auto format = voice->Fill(stream, length)) {
    std::lock_guard lock(voice->tapMutex_);
    if (voice->tap_) voice->tap_(*format, stream, length);
  }
}

std::optional<SDL_AudioSpec> SoundVoice::Fill(Uint8* stream, int length) {
  std::vector<std::vector<uint8_t>> spent;  // freed once the lock is released
  std::lock_guard lock(mutex_);
  lastCallback_ = Clock::now();
  size_t written = 0;
  const auto wanted = static_cast<size_t>(length);
  if (playingTicket_ != 0) {
    while (written < wanted && !queue_.empty()) {
      if (!firstSample_) firstSample_ = Clock::now();
      std::vector<uint8_t>& piece = queue_.front();
      const size_t n = std::min(wanted - written, piece.size() - position_);
      std::memcpy(stream + written, piece.data() + position_, n);
      written += n;
      position_ += n;
      queued_ -= n;
      if (position_ == piece.size()) {
        spent.push_back(std::move(piece));
        queue_.pop_front();
        position_ = 0;
      }
    }
    if (queue_.empty() && finished_) {
      EndClip();
    } else {
      if (written < wanted && firstSample_) ++underruns_;
      changed_.notify_all();
    }
  }
  std::memset(stream + written, spec_.silence, wanted - written);
  if (written == 0) return std::nullopt;
  return spec_;
}

}  // namespace platform
