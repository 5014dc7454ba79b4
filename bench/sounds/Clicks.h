#pragma once

#include <chrono>
#include <random>

#include "platform/Observation.h"
#include "platform/SoundOutput.h"

namespace bench {

// Clicks at random moments over two device periods. Without the pause each play would
// start just after the callback that began the previous clip and always wait a whole
// period.
class RandomClicks {
 public:
  explicit RandomClicks(const platform::SoundOutputInfo& device);
  void Pause();

 private:
  std::mt19937 random_{1};
  std::uniform_int_distribution<int> pause_;
};

// Waits until a clip started at or after `start` has had its first sample handed to
// the device callback; returns the seconds since `start`.
double SecondsToFirstSample(std::chrono::steady_clock::time_point start);

}  // namespace bench
