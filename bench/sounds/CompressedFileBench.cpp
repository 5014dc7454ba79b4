// Long FLAC, Ogg Vorbis and MP3 files: played whole into SDL's disk driver writing to
// /dev/null as fast as they decode (the decoding rate, and the most anonymous memory
// over what the process held with the device open and idle), and a stop 0.3 s into
// one (how long the call takes).
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <thread>

#include "BigSounds.h"
#include "platform/SoundOutput.h"

namespace {

using Clock = std::chrono::steady_clock;

// Made at build time from one tone: FLAC 25 minutes, the lossy ones 10.
const char* const kFiles[] = {BENCH_LONG_FLAC, BENCH_LONG_OGG, BENCH_LONG_MP3};
const double kMinutes[] = {25, 10, 10};
const char* const kNames[] = {"FLAC, 25 min", "Ogg Vorbis, 10 min", "MP3, 10 min"};

void BM_WholeCompressedFile(benchmark::State& state) {
  const auto which = static_cast<size_t>(state.range(0));
  state.SetLabel(kNames[which]);
  const double seconds = bench::PlayWholeEachIteration(state, kFiles[which]);
  if (seconds > 0)
    state.counters["times_real_time"] =
        kMinutes[which] * 60 * static_cast<double>(state.iterations()) / seconds;
}
BENCHMARK(BM_WholeCompressedFile)
    ->UseManualTime()
    ->Iterations(1)
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond);

void BM_StopDuringCompressedFile(benchmark::State& state) {
  const auto which = static_cast<size_t>(state.range(0));
  state.SetLabel(kNames[which]);
  bench::FastDiskOutput output;
  for (auto _ : state) {
    platform::PlaySoundA(kFiles[which], nullptr, platform::SND_FILENAME | platform::SND_ASYNC);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const auto start = Clock::now();
    platform::PlaySoundA(nullptr, nullptr, 0);
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
  }
}
BENCHMARK(BM_StopDuringCompressedFile)
    ->UseManualTime()
    ->Iterations(10)
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
