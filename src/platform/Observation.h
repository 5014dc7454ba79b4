#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/NotifyIcon.h"
#include "platform/WinTypes.h"

// What the platform layer lets an observer see and set from outside the program's own
// paths: the shell traffic and the icons in the notification area, the state, timing and
// tuning of the sound output. The tests, the benchmarks and the end-to-end runs use it;
// the program itself never needs it.
namespace platform {

// The notification area.

// Sees every call before it is carried out, to record the shell traffic.
using ShellNotifyHook = std::function<void(DWORD message, const NOTIFYICONDATAA& data)>;
void SetShellNotifyHook(ShellNotifyHook hook);

// What the notification area shows for one icon.
struct TrayIconState {
  HICON icon = 0;
  std::string tip;
  UINT callbackMessage = 0;
};
std::optional<TrayIconState> FindTrayIcon(HWND window, UINT id);
int TrayIconCount();

// Delivers a mouse action on the icon as Qt would, `reason` being Qt's
// QSystemTrayIcon::ActivationReason; for runs without a tray host.
void ActivateTrayIcon(HWND window, UINT id, int reason);

// The sound output.

// Closes the audio device, cutting off what plays (SDL's disk driver writes its file
// then); the next PlaySoundA opens it again.
void ShutdownSoundOutput();

// Stops the open device's callbacks, as a sound server that goes away does; the next
// sound finds it lost and opens it again.
void HaltSoundOutput();

// The device also closes by itself once no sound has played for `idle` (10 s unless
// set), except SDL's disk driver, whose file would start afresh. Whether it is open:
bool IsSoundOutputOpen();
void SetSoundOutputIdleClose(std::chrono::milliseconds idle);

struct SoundOutputInfo {
  std::string driver;
  int frequency = 0;
  int channels = 0;
  int bufferFrames = 0;  // per device callback
};

// The device's driver and format, opening it if needed; nullopt without any driver.
std::optional<SoundOutputInfo> GetSoundOutputInfo();

// Frames per device callback (256 unless set), from the device's next opening on.
void SetSoundOutputBufferFrames(int frames);

// Whether a clip is being handed to the device.
bool IsSoundPlaying();

// Device callbacks that found a playing clip's next samples not yet decoded.
uint64_t SoundOutputUnderruns();

// When the first sample of the latest started clip was handed to the device
// callback; nullopt until it has been. For latency measurements.
std::optional<std::chrono::steady_clock::time_point> LatestClipFirstSampleTime();

}  // namespace platform
