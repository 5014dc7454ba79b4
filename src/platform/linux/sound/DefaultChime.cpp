#include "platform/linux/sound/DefaultChime.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "platform/linux/wave/WaveImage.h"

namespace platform {

namespace {

struct Note {
  double start;   // s
  double length;  // s
  double pitch;   // Hz
};

constexpr Note kNotes[] = {{0.0, 0.30, 880.0}, {0.09, 0.21, 1318.5}};
constexpr double kLength = 0.30;
constexpr double kPeak = 0.22;  // of full scale: a hint, not an alarm
constexpr double kAttack = 0.006;

void Put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

std::vector<uint8_t> Synthesise() {
  const int frames = static_cast<int>(kLength * kChimeRate);
  const uint32_t dataBytes = static_cast<uint32_t>(frames * kChimeChannels * 2);
  std::vector<uint8_t> out;
  out.reserve(44 + dataBytes);
  AppendPcm16WaveHeader(out, kChimeChannels, kChimeRate, dataBytes);

  for (int i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / kChimeRate;
    double v = 0;
    for (const Note& n : kNotes) {
      const double u = t - n.start;
      if (u < 0 || u >= n.length) continue;
      const double attack = std::min(1.0, u / kAttack);
      // Exponential decay, forced to zero at the note's end so nothing clicks.
      const double decay = std::exp(-5.0 * u / n.length) * (1.0 - u / n.length);
      v += std::sin(2 * std::numbers::pi * n.pitch * u) * attack * decay;
    }
    const auto sample = static_cast<int16_t>(std::lround(v * kPeak * 32767.0));
    for (int c = 0; c < kChimeChannels; ++c) Put(out, static_cast<uint16_t>(sample), 2);
  }
  return out;
}

}  // namespace

std::span<const uint8_t> DefaultChimeWave() {
  // Never destroyed: the streaming thread may still be reading it while the process ends.
  static const auto* chime = new std::vector<uint8_t>(Synthesise());
  return *chime;
}

}  // namespace platform
