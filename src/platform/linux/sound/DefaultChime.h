#pragma once

#include <cstdint>
#include <span>

namespace platform {

constexpr int kChimeRate = 44100;
constexpr int kChimeChannels = 2;

// The sound played in place of one that cannot be found or decoded: two soft sine
// notes, a fifth apart, each fading out; about 0.3 s of 16-bit stereo at 44.1 kHz,
// as a WAVE file image synthesised on first use.
std::span<const uint8_t> DefaultChimeWave();

}  // namespace platform
