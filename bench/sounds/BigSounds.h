#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace bench {

// A WAV file of about `megabytes` MB (10^6 bytes) of a 441 Hz tone, made once per
// size and rate in a temporary folder removed at exit.
const std::string& BigWave(int megabytes, int rate = 44100);

// The folder those files live in, for other generated inputs.
const std::string& BenchFolder();

// Anonymous resident memory of this process, in KiB (RssAnon of /proc/self/status).
int64_t AnonymousKiB();

// While it lives, sounds go to SDL's disk driver writing to /dev/null without pacing,
// so as fast as they stream; the driver chosen before comes back afterwards.
class FastDiskOutput {
 public:
  FastDiskOutput();
  ~FastDiskOutput();
  FastDiskOutput(const FastDiskOutput&) = delete;
  FastDiskOutput& operator=(const FastDiskOutput&) = delete;
  bool Opened() const { return opened_; }

 private:
  std::string before_;
  bool opened_ = false;
};

// Plays `path` to its end once per iteration into a FastDiskOutput, as manual time,
// and sets the counter anon_over_idle_kib: the most anonymous memory meanwhile, over
// what the process held with the device open and idle. Returns the seconds taken in
// all; 0 when the driver would not open (the run is then skipped).
double PlayWholeEachIteration(benchmark::State& state, const std::string& path);

}  // namespace bench
