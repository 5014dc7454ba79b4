// Click-to-sound latency added by the sound output: from the PlaySoundA call to the
// moment the clip's first sample is handed to the device callback. The device's own
// period (buffer frames / rate) comes on top of this at the speaker.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "BigSounds.h"
#include "Clicks.h"
#include "platform/DynamicModule.h"
#include "platform/Observation.h"
#include "platform/SoundOutput.h"

namespace {

using Clock = std::chrono::steady_clock;

double Percentile99(const std::vector<double>& v) {
  std::vector<double> sorted = v;
  std::sort(sorted.begin(), sorted.end());
  return sorted.empty() ? 0 : sorted[std::min(sorted.size() - 1, sorted.size() * 99 / 100)];
}

// With `closed`, each play finds the device shut by its idle close, as after a quiet
// spell (a millisecond of silence here).
void Measure(benchmark::State& state, const char* name, platform::HMODULE unit,
             platform::DWORD flags, bool closed = false) {
  auto info = platform::GetSoundOutputInfo();
  if (!info) {
    state.SkipWithError("no sound output");
    return;
  }
  bench::RandomClicks clicks(*info);
  if (closed) platform::SetSoundOutputIdleClose(std::chrono::milliseconds(1));
  double callSeconds = 0;  // reading, decoding and converting, before the device's turn
  for (auto _ : state) {
    if (closed) {
      while (platform::IsSoundOutputOpen())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    } else {
      clicks.Pause();
    }
    const auto start = Clock::now();
    platform::PlaySoundA(name, unit, flags | platform::SND_ASYNC);
    callSeconds += std::chrono::duration<double>(Clock::now() - start).count();
    state.SetIterationTime(bench::SecondsToFirstSample(start));
  }
  if (closed) platform::SetSoundOutputIdleClose(std::chrono::seconds(10));
  state.SetLabel(info->driver);
  state.counters["call_ms"] = 1000.0 * callSeconds / static_cast<double>(state.iterations());
  state.counters["period_ms"] = 1000.0 * info->bufferFrames / info->frequency;
}

// Reopens the device with `frames` per callback unless it already has them.
bool UseBufferFrames(int frames) {
  auto info = platform::GetSoundOutputInfo();
  if (info && info->bufferFrames == frames) return true;
  platform::ShutdownSoundOutput();
  platform::SetSoundOutputBufferFrames(frames);
  info = platform::GetSoundOutputInfo();
  return info && info->bufferFrames == frames;
}

void ResourceClip(benchmark::State& state, bool closed) {
  platform::HMODULE unit = platform::LoadLibraryA(BENCH_SOUND_UNIT);
  if (!unit) {
    state.SkipWithError("the benchmark unit does not load");
    return;
  }
  Measure(state, "Click", unit, platform::SND_RESOURCE, closed);
  platform::PlaySoundA(nullptr, nullptr, 0);
  platform::FreeLibrary(unit);
}

void BM_ResourceClipLatency(benchmark::State& state) {
  ResourceClip(state, false);
}

// The first click after the device's idle close, which opens it again.
void BM_ResourceClipAfterClose(benchmark::State& state) {
  ResourceClip(state, true);
}

void BM_ExternalFileLatency(benchmark::State& state) {
  Measure(state, BENCH_SOUND_FILE, nullptr, platform::SND_FILENAME);
  platform::PlaySoundA(nullptr, nullptr, 0);
}

// Files of 1, 10 and 100 MB (range 0), at the device's rate or converted (range 1).
void BM_BigFileLatency(benchmark::State& state) {
  const std::string& path =
      bench::BigWave(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  Measure(state, path.c_str(), nullptr, platform::SND_FILENAME);
  platform::PlaySoundA(nullptr, nullptr, 0);
}

// A unit's clip at 256, 512 and 1024 frames per callback (range 0).
void BM_BufferLatency(benchmark::State& state) {
  if (!UseBufferFrames(static_cast<int>(state.range(0)))) {
    state.SkipWithError("the device does not take this buffer size");
    return;
  }
  BM_ResourceClipLatency(state);
}

// Twenty seconds of a 100 MB file at each buffer size: callbacks that found the
// clip's next samples not yet decoded.
void BM_BufferSoak(benchmark::State& state) {
  if (!UseBufferFrames(static_cast<int>(state.range(0)))) {
    state.SkipWithError("the device does not take this buffer size");
    return;
  }
  const std::string& path = bench::BigWave(100);
  for (auto _ : state) {
    const uint64_t before = platform::SoundOutputUnderruns();
    platform::PlaySoundA(path.c_str(), nullptr, platform::SND_FILENAME | platform::SND_ASYNC);
    std::this_thread::sleep_for(std::chrono::seconds(20));
    platform::PlaySoundA(nullptr, nullptr, 0);
    state.counters["underruns"] = static_cast<double>(platform::SoundOutputUnderruns() - before);
    state.SetIterationTime(20);
  }
}

// One play per repetition, so the statistics are over single plays.
#define LATENCY_BENCHMARK(fn)                  \
  BENCHMARK(fn)                                \
      ->UseManualTime()                        \
      ->Iterations(1)                          \
      ->Repetitions(200)                       \
      ->ComputeStatistics("p99", Percentile99) \
      ->ReportAggregatesOnly(true)             \
      ->Unit(benchmark::kMillisecond)

LATENCY_BENCHMARK(BM_ResourceClipLatency);
LATENCY_BENCHMARK(BM_ExternalFileLatency);
BENCHMARK(BM_ResourceClipAfterClose)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(30)
    ->ComputeStatistics("p99", Percentile99)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
LATENCY_BENCHMARK(BM_BigFileLatency)
    ->Args({1, 44100})
    ->Args({10, 44100})
    ->Args({100, 44100})
    ->Args({100, 22050});
LATENCY_BENCHMARK(BM_BufferLatency)->Arg(256)->Arg(512)->Arg(1024);
BENCHMARK(BM_BufferSoak)->UseManualTime()->Iterations(1)->Arg(256)->Arg(512)->Arg(1024);

}  // namespace
