#include "Clicks.h"

#include <optional>
#include <thread>

namespace bench {

RandomClicks::RandomClicks(const platform::SoundOutputInfo& device)
    : pause_(0, 2 * device.bufferFrames * 1000000 / device.frequency) {}

void RandomClicks::Pause() {
  std::this_thread::sleep_for(std::chrono::microseconds(pause_(random_)));
}

double SecondsToFirstSample(std::chrono::steady_clock::time_point start) {
  std::optional<std::chrono::steady_clock::time_point> first;
  while (!(first = platform::LatestClipFirstSampleTime()) || *first < start)
    std::this_thread::yield();
  return std::chrono::duration<double>(*first - start).count();
}

}  // namespace bench
