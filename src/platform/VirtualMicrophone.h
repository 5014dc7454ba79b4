#pragma once

#include <string>

// A microphone of the program's own on the desktop's sound server (PipeWire through its
// PulseAudio server, or PulseAudio): a source called "Jabberwell Microphone" that chat
// programs list beside the real microphones. It carries every sound the program plays,
// and, with passthrough, the server's default microphone too. The program's sound still
// goes to its output device as well.
namespace platform {

inline constexpr char kVirtualMicrophoneName[] = "Jabberwell Microphone";
inline constexpr char kNoSoundServerMessage[] =
    "no PipeWire or PulseAudio sound server answers, so there is no virtual microphone";

enum class MicrophoneStatus {
  Done,
  NoServer,  // neither PipeWire nor PulseAudio answers
  Failed,    // the server refused; the message says why
};

struct MicrophoneResult {
  MicrophoneStatus status = MicrophoneStatus::Done;
  std::string message;
};

// Creates, changes or removes the microphone of the program started from `appFolder`.
// What it puts on the server goes when it is switched off, when the process ends, and
// also when the process is killed.
MicrophoneResult SetVirtualMicrophone(const std::string& appFolder, bool on, bool passthrough);

// Whether a sound server that can hold the microphone answers now.
bool VirtualMicrophoneServerRunning();

// What a killed process of `appFolder`'s program left on the server goes.
void RemoveLeftVirtualMicrophone(const std::string& appFolder);

// The hidden option the process that watches over the microphone starts the program
// with, followed by the application folder, to tidy up after the program's death.
inline constexpr char kMicrophoneCleanupOption[] = "--mic-cleanup";

}  // namespace platform
