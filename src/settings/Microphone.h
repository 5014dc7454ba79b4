#pragma once

#include <string>

// The virtual microphone of `jabberwell --mic on|off` and `--mic-passthrough on|off`,
// kept in JBW.ini beside the output device. Each key is written only once it is set, so
// files of users who never set one stay as they were.
namespace settings {

inline constexpr const char* kMicrophone = "Microphone";
inline constexpr const char* kMicPassthrough = "MicPassthrough";

struct MicrophoneSetting {
  bool on = false;
  // The user's own microphone is carried along.
  bool passthrough = true;
};

// The defaults when JBW.ini or the keys are missing, or a value is no whole number.
MicrophoneSetting ReadMicrophone(const std::string& appFolder);

// A JBW.ini that does not exist yet is created with its default content first.
void SaveMicrophone(const std::string& appFolder, bool on);
void SaveMicPassthrough(const std::string& appFolder, bool on);

}  // namespace settings
