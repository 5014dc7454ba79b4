#include "platform/VirtualMicrophone.h"

#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/RemoteControlNames.h"
#include "platform/linux/sound/MicrophoneWatcher.h"
#include "platform/linux/sound/PulseConnection.h"
#include "platform/linux/sound/SoundVoice.h"

namespace platform {

namespace {

constexpr char kClientName[] = "Jabberwell v3";

// Each application folder has a board of its own, so the server's names carry the
// folder's digest, as its bus name does: a cleanup then finds only its own board's.
std::string SinkName(const std::string& appFolder) {
  const std::string service = RemoteControlServiceName(appFolder);
  return "jabberwell_mic_sink." + service.substr(service.rfind('.') + 1);
}

// The program's path; once an upgrade has renamed a new file over it, the new one.
std::string OwnProgram() {
  char path[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path);
  std::string program(path, length > 0 ? static_cast<size_t>(length) : 0);
  constexpr std::string_view kReplaced = " (deleted)";
  if (program.ends_with(kReplaced)) program.resize(program.size() - kReplaced.size());
  return program;
}

pa_sample_format_t PulseFormat(SDL_AudioFormat format) {
  switch (format) {
    case AUDIO_U8:
      return PA_SAMPLE_U8;
    case AUDIO_S16LSB:
      return PA_SAMPLE_S16LE;
    case AUDIO_S16MSB:
      return PA_SAMPLE_S16BE;
    case AUDIO_S32LSB:
      return PA_SAMPLE_S32LE;
    case AUDIO_S32MSB:
      return PA_SAMPLE_S32BE;
    case AUDIO_F32LSB:
      return PA_SAMPLE_FLOAT32LE;
    case AUDIO_F32MSB:
      return PA_SAMPLE_FLOAT32BE;
    default:
      return PA_SAMPLE_INVALID;
  }
}

void RemoveModules(PulseConnection& connection, const std::string& sink) {
  std::vector<uint32_t> modules = connection.ModulesWith(sink);
  // The newest first: the source and the loopback rest on the sink.
  std::sort(modules.rbegin(), modules.rend());
  for (uint32_t index : modules) connection.UnloadModule(index);
}

// The server's side of the microphone: a null sink the program's sound and the user's
// microphone are mixed in, and a source that passes on what the sink is given. The
// source is not the sink's monitor, which chat programs leave out of their lists. It
// keeps the ordinary media class "Audio/Source": PipeWire 0.3.65 passes nothing to a
// recorder from a remapped source marked "Audio/Source/Virtual".
class Microphone {
 public:
  static Microphone& Instance() {
    // Never destroyed: the device's thread may still hand over a buffer at exit.
    static Microphone* microphone = new Microphone;
    return *microphone;
  }

  MicrophoneResult Set(const std::string& appFolder, bool on, bool passthrough) {
    std::lock_guard lock(mutex_);
    if (connection_ && (!connection_->Alive() || SinkName(appFolder) != sink_)) TakeDown();
    if (!on) {
      TakeDown();
      return {};
    }
    if (!connection_) {
      MicrophoneResult result = BuildUp(appFolder);
      if (result.status != MicrophoneStatus::Done) return result;
    }
    SetPassthrough(passthrough);
    return {};
  }

 private:
  MicrophoneResult BuildUp(const std::string& appFolder) {
    connection_ = PulseConnection::Connect(kClientName);
    if (!connection_) {
      return {MicrophoneStatus::NoServer, kNoSoundServerMessage};
    }
    sink_ = SinkName(appFolder);
    RemoveModules(*connection_, sink_);
    watcher_ = std::make_unique<MicrophoneWatcher>(OwnProgram(), appFolder);
    std::string error;
    const std::string mixer = "Jabberwell Microphone mix";
    if (connection_->LoadModule(
            "module-null-sink",
            "sink_name=" + sink_ + " sink_properties='device.description=\"" + mixer + "\"'",
            error) == PA_INVALID_INDEX ||
        connection_->LoadModule(
            "module-remap-source",
            "master=" + sink_ + ".monitor source_name=" + SourceName() +
                " source_properties='device.description=\"" + kVirtualMicrophoneName +
                "\" device.class=sound device.icon_name=audio-input-microphone'",
            error) == PA_INVALID_INDEX) {
      TakeDown();
      return {MicrophoneStatus::Failed, "the sound server refused the microphone: " + error};
    }
    // The request may not wait on the connection's own thread.
    connection_->OnServerChange([] {
      std::thread([] {
        Microphone& microphone = Instance();
        std::lock_guard lock(microphone.mutex_);
        if (microphone.connection_) microphone.FollowDefaultSource();
      }).detach();
    });
    SoundVoice::Instance().SetTap([this](const SDL_AudioSpec& format, const Uint8* data,
                                         int length) { Feed(format, data, length); });
    return {};
  }

  std::string SourceName() const { return "jabberwell_mic" + sink_.substr(sink_.find('.')); }

  void SetPassthrough(bool on) {
    passthrough_ = on;
    FollowDefaultSource();
  }

  // The loopback carries the default source, also after the user has chosen another,
  // unless that is our own microphone or its mix, which would feed the microphone to
  // itself, or the loudspeaker's monitor (a desktop without a microphone), which would
  // carry every sound of the desktop and ours twice.
  void FollowDefaultSource() {
    std::string source;
    if (passthrough_) {
      const PulseConnection::Defaults defaults = connection_->DefaultNames();
      source = defaults.source;
      if (source == SourceName() || source == sink_ + ".monitor" ||
          source == defaults.sink + ".monitor") {
        source.clear();
      }
    }
    if (source == loopbackSource_) return;
    if (loopback_ != PA_INVALID_INDEX) connection_->UnloadModule(loopback_);
    loopback_ = PA_INVALID_INDEX;
    loopbackSource_ = source;
    if (source.empty()) return;
    std::string error;
    loopback_ = connection_->LoadModule("module-loopback",
                                        "source=\"" + source + "\" sink=" + sink_ +
                                            " latency_msec=20 source_dont_move=true "
                                            "sink_dont_move=true",
                                        error);
  }

  // On the device's thread: the same buffer the output device is given goes to the mix.
  void Feed(const SDL_AudioSpec& format, const Uint8* data, int length) {
    PulseConnection::Lock lock(*connection_);
    const PulseLibrary& api = connection_->Api();
    const pa_sample_spec sampleSpec{PulseFormat(format.format), static_cast<uint32_t>(format.freq),
                                    format.channels};
    if (stream_ &&
        (sampleSpec.format != sampleSpec_.format || sampleSpec.rate != sampleSpec_.rate ||
         sampleSpec.channels != sampleSpec_.channels)) {
      RemoveStream();
    }
    if (!stream_) OpenStream(sampleSpec, SDL_AUDIO_BITSIZE(format.format) / 8);
    if (!stream_ || api.pa_stream_get_state(stream_) != PA_STREAM_READY) return;
    // The stream ran dry since the last clip. It starts again at once, with 10 ms of
    // silence put where the server reads now (PipeWire reads on through an empty stream)
    // ahead of the clip, to ride out a late device callback. Waiting for 10 ms of the clip
    // instead held the microphone up to 49 ms behind the loudspeaker on a busy
    // PulseAudio; starting with less left gaps in it on PipeWire.
    const auto now = std::chrono::steady_clock::now();
    if (now - lastFeed_ > std::chrono::milliseconds(50)) {
      const std::vector<Uint8> silence(static_cast<size_t>(format.freq) * format.channels *
                                           SDL_AUDIO_BITSIZE(format.format) / 8 / 100,
                                       format.silence);
      api.pa_stream_write(stream_, silence.data(), silence.size(), nullptr, 0,
                          PA_SEEK_RELATIVE_ON_READ);
    }
    lastFeed_ = now;
    api.pa_stream_write(stream_, data, static_cast<size_t>(length), nullptr, 0, PA_SEEK_RELATIVE);
  }

  // Connection locked.
  void OpenStream(const pa_sample_spec& sampleSpec, uint32_t bytesPerSample) {
    const PulseLibrary& api = connection_->Api();
    if (sampleSpec.format == PA_SAMPLE_INVALID) return;
    stream_ =
        api.pa_stream_new(connection_->Context(), kVirtualMicrophoneName, &sampleSpec, nullptr);
    if (!stream_) return;
    sampleSpec_ = sampleSpec;
    const uint32_t bytesPerMs = sampleSpec.rate * sampleSpec.channels * bytesPerSample / 1000;
    // Little queued, so the microphone keeps up with the loudspeaker; playing stops
    // between clips (see Feed).
    pa_buffer_attr buffer{};
    buffer.maxlength = UINT32_MAX;
    buffer.tlength = 20 * bytesPerMs;
    buffer.prebuf = 10 * bytesPerMs;
    buffer.minreq = UINT32_MAX;
    buffer.fragsize = UINT32_MAX;
    const auto flags =
        static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY | PA_STREAM_DONT_MOVE);
    if (api.pa_stream_connect_playback(stream_, sink_.c_str(), &buffer, flags, nullptr, nullptr) <
        0) {
      RemoveStream();
    }
  }

  // Connection locked.
  void RemoveStream() {
    const PulseLibrary& api = connection_->Api();
    api.pa_stream_disconnect(stream_);
    api.pa_stream_unref(stream_);
    stream_ = nullptr;
  }

  void TakeDown() {
    SoundVoice::Instance().SetTap(nullptr);
    if (connection_) {
      {
        PulseConnection::Lock lock(*connection_);
        if (stream_) RemoveStream();
      }
      if (connection_->Alive()) RemoveModules(*connection_, sink_);
    }
    loopback_ = PA_INVALID_INDEX;
    loopbackSource_.clear();
    watcher_.reset();
    connection_.reset();
  }

  std::mutex mutex_;
  std::unique_ptr<PulseConnection> connection_;
  std::unique_ptr<MicrophoneWatcher> watcher_;
  std::string sink_;
  bool passthrough_ = false;
  uint32_t loopback_ = PA_INVALID_INDEX;
  std::string loopbackSource_;   // empty: no loopback
  pa_stream* stream_ = nullptr;  // the connection's lock guards it
  pa_sample_spec sampleSpec_{};
  std::chrono::steady_clock::time_point lastFeed_{};  // the device's thread only
};

}  // namespace

MicrophoneResult SetVirtualMicrophone(const std::string& appFolder, bool on, bool passthrough) {
  return Microphone::Instance().Set(appFolder, on, passthrough);
}

bool VirtualMicrophoneServerRunning() {
  return PulseConnection::Connect(kClientName) != nullptr;
}

void RemoveLeftVirtualMicrophone(const std::string& appFolder) {
  if (auto connection = PulseConnection::Connect(kClientName))
    RemoveModules(*connection, SinkName(appFolder));
}

}  // namespace platform
