#include "BigSounds.h"

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <numbers>
#include <thread>
#include <utility>
#include <vector>

#include "platform/Observation.h"
#include "platform/SoundOutput.h"

namespace bench {

namespace {

void Put(std::string& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
}

struct Folder {
  Folder() {
    path = (std::filesystem::temp_directory_path() / "jbw-bench-XXXXXX").string();
    if (!::mkdtemp(path.data())) path.clear();
  }
  ~Folder() {
    std::error_code ec;
    if (!path.empty()) std::filesystem::remove_all(path, ec);
  }
  std::string path;
};

void Write(const std::string& path, uint32_t dataBytes, int rate) {
  std::string header = "RIFF";
  Put(header, 36 + dataBytes, 4);
  header += "WAVEfmt ";
  Put(header, 16, 4);
  Put(header, 1, 2);
  Put(header, 2, 2);
  Put(header, static_cast<uint32_t>(rate), 4);
  Put(header, static_cast<uint32_t>(rate) * 4, 4);
  Put(header, 4, 2);
  Put(header, 16, 2);
  header += "data";
  Put(header, dataBytes, 4);

  // Whole periods of the tone, repeated.
  const int period = rate / 441;
  std::string block;
  for (int i = 0; i < period; ++i) {
    const auto v = static_cast<int16_t>(8000 * std::sin(2 * std::numbers::pi * i / period));
    Put(block, static_cast<uint16_t>(v), 2);
    Put(block, static_cast<uint16_t>(v), 2);
  }
  std::string chunk;
  while (chunk.size() < (1u << 20)) chunk += block;
  std::ofstream out(path, std::ios::binary);
  out << header;
  for (uint32_t left = dataBytes; left > 0;) {
    const uint32_t n = std::min<uint32_t>(left, static_cast<uint32_t>(chunk.size()));
    out.write(chunk.data(), n);
    left -= n;
  }
}

}  // namespace

const std::string& BenchFolder() {
  static Folder folder;
  return folder.path;
}

const std::string& BigWave(int megabytes, int rate) {
  static std::map<std::pair<int, int>, std::string> made;
  auto [it, fresh] = made.try_emplace({megabytes, rate});
  if (fresh) {
    it->second =
        BenchFolder() + "/tone" + std::to_string(megabytes) + "MB-" + std::to_string(rate) + ".wav";
    Write(it->second, static_cast<uint32_t>(megabytes) * 1000000u / 4 * 4, rate);
  }
  return it->second;
}

int64_t AnonymousKiB() {
  std::ifstream status("/proc/self/status");
  std::string key;
  int64_t value = 0;
  while (status >> key) {
    if (key == "RssAnon:") {
      status >> value;
      return value;
    }
    status.ignore(1 << 10, '\n');
  }
  return -1;
}

FastDiskOutput::FastDiskOutput() {
  const char* driver = getenv("SDL_AUDIODRIVER");
  before_ = driver ? driver : "";
  platform::ShutdownSoundOutput();
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
  setenv("SDL_DISKAUDIODELAY", "0", 1);
  opened_ = platform::GetSoundOutputInfo().has_value();
}

FastDiskOutput::~FastDiskOutput() {
  platform::ShutdownSoundOutput();
  if (before_.empty())
    unsetenv("SDL_AUDIODRIVER");
  else
    setenv("SDL_AUDIODRIVER", before_.c_str(), 1);
}

double PlayWholeEachIteration(benchmark::State& state, const std::string& path) {
  FastDiskOutput output;
  if (!output.Opened()) {
    state.SkipWithError("no disk driver");
    return 0;
  }
  const int64_t idle = AnonymousKiB();
  int64_t peak = idle;
  double seconds = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    platform::PlaySoundA(path.c_str(), nullptr, platform::SND_FILENAME | platform::SND_ASYNC);
    while (platform::IsSoundPlaying()) {
      peak = std::max(peak, AnonymousKiB());
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    const double took =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    seconds += took;
    state.SetIterationTime(took);
  }
  state.counters["anon_over_idle_kib"] = static_cast<double>(peak - idle);
  return seconds;
}

}  // namespace bench
