#pragma once

// Plays into SDL's disk driver, paced like a sound card, whose file holds what reached
// the device (44.1 kHz 16-bit stereo, as the voice asks for) once the device is closed.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/Observation.h"
#include "platform/SoundOutput.h"
#include "support/TempFolder.h"

class DiskDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", folder.File("device.raw").c_str(), 1);
  }
  void TearDown() override { platform::ShutdownSoundOutput(); }

  std::string DeviceOutput() {
    platform::ShutdownSoundOutput();
    return folder.Read("device.raw");
  }
  // Whether the sound playing has ended within `limit`.
  static bool WaitIdle(std::chrono::steady_clock::duration limit = std::chrono::seconds(3)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (platform::IsSoundPlaying() && std::chrono::steady_clock::now() < end)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return !platform::IsSoundPlaying();
  }

  TempFolder folder;
};
