#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <functional>
#include <string>

namespace bench {

// Times catalogue rebuilds (ReadSettings) with `units` registered and ten external
// sounds; the run fails unless each gives `expected` entries. `beforeEach` runs untimed
// before each rebuild.
void RunReadSettings(benchmark::State& bench, const std::string (&units)[3], size_t expected,
                     const std::function<void()>& beforeEach = {});

}  // namespace bench
