#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "CatalogueBench.h"
#include "settings/SharedState.h"
#include "sounds/Catalogue.h"
#include "toolkit/Menus.h"

namespace bench {

// Rebuilds with the three units registered, ten external sounds and the program's own
// popup menu, `expected` entries each time.
void RunReadSettings(benchmark::State& bench, const std::string (&units)[3], size_t expected,
                     const std::function<void()>& beforeEach) {
  std::string folder = (std::filesystem::temp_directory_path() / "jbw-bench-XXXXXX").string();
  if (!::mkdtemp(folder.data())) {
    bench.SkipWithError("no temporary folder");
    return;
  }
  settings::SharedState state;
  state.appFolder = folder + "/";
  std::ofstream(state.appFolder + "BSUs.ini", std::ios::binary)
      << "[Settings]\r\nNumberOfBSUs=3\r\n[BSU-List]\r\n1=" << units[0] << "\r\n2=" << units[1]
      << "\r\n3=" << units[2] << "\r\n";
  std::string list = "[Sound-List]\r\n", menu = "[Sound-Menu]\r\n";
  for (int i = 1; i <= 10; ++i) {
    list += std::to_string(i) + "=/sounds/sound" + std::to_string(i) + ".wav\r\n";
    menu += std::to_string(i) + "=Sound " + std::to_string(i) + "\r\n";
  }
  std::ofstream(state.appFolder + "External.ini", std::ios::binary)
      << "[Settings]\r\nNumberOfSounds=10\r\n"
      << list << menu;

  tk::TComponent owner(nullptr);
  auto* popup = new tk::TPopupMenu(&owner);
  for (const char* name :
       {"MenuAbout", "MenuConfig", "MenuTimer", "MenuQuit", "N1", "MenuExternal"}) {
    auto* item = new tk::TMenuItem(&owner);
    item->SetName(name);
    popup->Items()->Add(item);
  }
  tk::TMenuItem* external = popup->Items()->Items(5);  // "External Sounds", the last one
  sounds::TCatalogue catalogue(state, &owner, *external, *external, [] {});  // no timer to restore

  for (auto _ : bench) {
    if (beforeEach) {
      bench.PauseTiming();
      beforeEach();
      bench.ResumeTiming();
    }
    catalogue.ReadSettings(nullptr);
  }
  if (state.soundList.size() != expected + 1) bench.SkipWithError("the catalogue is incomplete");
  bench.counters["entries"] = static_cast<double>(state.soundList.size() - 1);
  std::filesystem::remove_all(folder);
}

}  // namespace bench

namespace {

// A rebuild as an editor's save runs it: three registered units of 1,000 clips each and
// ten external sounds, each unit loaded for its clip list and released again.
void BM_ReadSettings(benchmark::State& bench) {
  const std::string units[3] = {BENCH_UNIT_1, BENCH_UNIT_2, BENCH_UNIT_3};
  bench::RunReadSettings(bench, units, 3010);
}
BENCHMARK(BM_ReadSettings)->Unit(benchmark::kMillisecond);

}  // namespace
