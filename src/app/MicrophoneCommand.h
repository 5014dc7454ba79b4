#pragma once

#include "platform/RemoteControlClient.h"

namespace app {

inline constexpr char kSetMicrophone[] = "SetMicrophone";
inline constexpr char kSetMicPassthrough[] = "SetMicPassthrough";
inline constexpr char kOnOrOff[] = "on or off";

// `--mic on|off` and `--mic-passthrough on|off`: `method` of the running board, or,
// without one, straight into JBW.ini. The microphone is switched on only where a sound
// server could hold it; otherwise the result is refused with
// platform::kRemoteErrorNoSoundServer and nothing is stored.
platform::RemoteCallResult CallMicrophone(const char* method, bool on);

// At the board's start: the microphone as JBW.ini keeps it. One line on stderr when it
// cannot be had; the board runs on without it.
void StartMicrophone();

}  // namespace app
