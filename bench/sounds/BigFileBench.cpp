// A 100 MB file played whole into SDL's disk driver, writing to /dev/null as fast as
// it can be decoded: the streaming rate, and the most anonymous memory the process
// holds over what it held with the device open and idle.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

#include "BigSounds.h"
#include "platform/Observation.h"
#include "platform/SoundOutput.h"

namespace {

using Clock = std::chrono::steady_clock;

void BM_WholeBigFile(benchmark::State& state) {
  const std::string& path = bench::BigWave(100, static_cast<int>(state.range(0)));
  const char* driver = getenv("SDL_AUDIODRIVER");
  const std::string before = driver ? driver : "";
  platform::ShutdownSoundOutput();
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
  setenv("SDL_DISKAUDIODELAY", "0", 1);
  if (!platform::GetSoundOutputInfo()) {
    state.SkipWithError("no disk driver");
    return;
  }
  const int64_t idle = bench::AnonymousKiB();
  int64_t peak = idle;
  double seconds = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    platform::PlaySoundA(path.c_str(), nullptr, platform::SND_FILENAME | platform::SND_ASYNC);
    while (platform::IsSoundPlaying()) {
      peak = std::max(peak, bench::AnonymousKiB());
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    const double took = std::chrono::duration<double>(Clock::now() - start).count();
    seconds += took;
    state.SetIterationTime(took);
  }
  state.counters["anon_over_idle_kib"] = static_cast<double>(peak - idle);
  state.counters["MB_per_s"] = 100.0 * static_cast<double>(state.iterations()) / seconds;
  platform::ShutdownSoundOutput();
  if (before.empty())
    unsetenv("SDL_AUDIODRIVER");
  else
    setenv("SDL_AUDIODRIVER", before.c_str(), 1);
}
BENCHMARK(BM_WholeBigFile)
    ->UseManualTime()
    ->Iterations(2)
    ->Arg(44100)
    ->Arg(22050)
    ->Unit(benchmark::kMillisecond);

}  // namespace
