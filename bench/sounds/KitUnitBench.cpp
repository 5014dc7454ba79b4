// Units built with the kit, whose clips the program reads through the unit reader: a
// rebuild with three units of one 100 MB clip registered, and a play as a click makes
// it (a play thread loads the unit, plays the clip, releases the unit), from the click
// to the clip's first sample at the callback, for a small clip and for the 100 MB one,
// with the anonymous memory the play adds to the process.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

#include "BigSounds.h"
#include "CatalogueBench.h"
#include "Clicks.h"
#include "platform/Observation.h"
#include "platform/SoundOutput.h"
#include "settings/SharedState.h"
#include "sounds/PlaySoundThread.h"

namespace {

using Clock = std::chrono::steady_clock;

// Arg 1: the units' files are touched before each rebuild, so each is read afresh, as
// at start; arg 0: unchanged, as in a rebuild after an editor's save.
void BM_ReadSettingsKitUnits(benchmark::State& state) {
  const std::string units[3] = {BENCH_KIT_UNIT_1, BENCH_KIT_UNIT_2, BENCH_KIT_UNIT_3};
  bench::RunReadSettings(state, units, 13, [&] {
    if (state.range(0))
      for (const auto& unit : units) utimensat(AT_FDCWD, unit.c_str(), nullptr, 0);
  });
}
BENCHMARK(BM_ReadSettingsKitUnits)->Arg(0)->Arg(1)->Repetitions(10)->Unit(benchmark::kMillisecond);

// Arg 0: the 0.2 s click of bench_latency_unit; arg 1: the 100 MB clip.
void BM_KitUnitPlay(benchmark::State& state) {
  settings::SharedState shared;
  shared.soundList.push_back(state.range(0) ? "DLL|Tone|1" : "DLL|Click|1");
  shared.unitList.push_back(state.range(0) ? BENCH_KIT_UNIT_1 : BENCH_SOUND_UNIT);
  auto info = platform::GetSoundOutputInfo();
  if (!info) {
    state.SkipWithError("no sound output");
    return;
  }
  bench::RandomClicks clicks(*info);
  int64_t grown = 0;
  for (auto _ : state) {
    clicks.Pause();
    const int64_t before = bench::AnonymousKiB();
    const auto start = Clock::now();
    auto* thread = new sounds::TPlaySoundThread(shared, 1);
    thread->SetFreeOnTerminate(true);
    thread->Start();
    state.SetIterationTime(bench::SecondsToFirstSample(start));
    grown = std::max(grown, bench::AnonymousKiB() - before);
    platform::PlaySoundA(nullptr, nullptr, 0);
    while (sounds::TPlaySoundThread::Alive() > 0)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  state.counters["anon_growth_KiB"] = static_cast<double>(grown);
}
BENCHMARK(BM_KitUnitPlay)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(50)
    ->Unit(benchmark::kMillisecond);

}  // namespace
