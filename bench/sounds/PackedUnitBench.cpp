// Units made by jbw-unit-pack around big clips: loading one at 1 MB and at 100 MB, a
// rebuild with three 100 MB units registered, and a play from a 100 MB unit as a play
// thread does it (load, play, release). Loaded as the program loads units: as data,
// from the kept reading of an unchanged file.
#include <benchmark/benchmark.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "BigSounds.h"
#include "CatalogueBench.h"
#include "Clicks.h"
#include "platform/DynamicModule.h"
#include "platform/Observation.h"
#include "platform/SoundOutput.h"

namespace {

using Clock = std::chrono::steady_clock;

// A unit whose one clip is a `megabytes` MB tone; `copy` tells apart units of one size.
const std::string& PackedUnit(int megabytes, int copy = 1) {
  static std::map<std::pair<int, int>, std::string> made;
  auto [it, fresh] = made.try_emplace({megabytes, copy});
  if (fresh) {
    const std::string id = "Big" + std::to_string(megabytes) + "_" + std::to_string(copy);
    it->second = bench::BenchFolder() + "/" + id + ".BSU";
    const std::string command = std::string(BENCH_UNIT_PACK) + " --template " +
                                BENCH_UNIT_TEMPLATE + " -o " + it->second + " --id " + id +
                                " --caption Big " + bench::BigWave(megabytes) + "=Tone";
    const int status = std::system(command.c_str());
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) it->second.clear();
  }
  return it->second;
}

void BM_PackedUnitLoad(benchmark::State& state) {
  const std::string& unit = PackedUnit(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    platform::HMODULE m =
        platform::LoadLibraryExA(unit.c_str(), nullptr, platform::LOAD_LIBRARY_AS_DATAFILE);
    if (!m) {
      state.SkipWithError("the unit does not load");
      return;
    }
    platform::FreeLibrary(m);
  }
}
BENCHMARK(BM_PackedUnitLoad)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_ReadSettingsBigUnits(benchmark::State& state) {
  const std::string units[3] = {PackedUnit(100, 1), PackedUnit(100, 2), PackedUnit(100, 3)};
  bench::RunReadSettings(state, units, 13);
}
BENCHMARK(BM_ReadSettingsBigUnits)->Repetitions(10)->Unit(benchmark::kMillisecond);

// From loading the unit to its clip's first sample at the device callback.
void BM_PackedUnitPlay(benchmark::State& state) {
  const std::string& unit = PackedUnit(100);
  // The packer names a clip after its file.
  const std::string clip = std::filesystem::path(bench::BigWave(100)).stem().string();
  auto info = platform::GetSoundOutputInfo();
  if (!info) {
    state.SkipWithError("no sound output");
    return;
  }
  bench::RandomClicks clicks(*info);
  for (auto _ : state) {
    clicks.Pause();
    const auto start = Clock::now();
    platform::HMODULE m =
        platform::LoadLibraryExA(unit.c_str(), nullptr, platform::LOAD_LIBRARY_AS_DATAFILE);
    platform::PlaySoundA(clip.c_str(), m, platform::SND_RESOURCE | platform::SND_ASYNC);
    state.SetIterationTime(bench::SecondsToFirstSample(start));
    platform::PlaySoundA(nullptr, nullptr, 0);
    platform::FreeLibrary(m);
  }
}
BENCHMARK(BM_PackedUnitPlay)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(50)
    ->Unit(benchmark::kMillisecond);

}  // namespace
