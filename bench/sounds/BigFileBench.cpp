// A 100 MB file played whole into SDL's disk driver, writing to /dev/null as fast as
// it can be decoded: the streaming rate, and the most anonymous memory the process
// holds over what it held with the device open and idle.
#include <benchmark/benchmark.h>

#include <string>

#include "BigSounds.h"

namespace {

void BM_WholeBigFile(benchmark::State& state) {
  const std::string& path = bench::BigWave(100, static_cast<int>(state.range(0)));
  const double seconds = bench::PlayWholeEachIteration(state, path);
  if (seconds > 0)
    state.counters["MB_per_s"] = 100.0 * static_cast<double>(state.iterations()) / seconds;
}
BENCHMARK(BM_WholeBigFile)
    ->UseManualTime()
    ->Iterations(2)
    ->Arg(44100)
    ->Arg(22050)
    ->Unit(benchmark::kMillisecond);

}  // namespace
