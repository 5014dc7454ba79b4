#pragma once

#include <SDL.h>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace platform {

// Larger sound files are not sounds anyone clicks for.
constexpr uint64_t kMaxSoundFileBytes = uint64_t{256} << 20;

// The sound of a WAVE file image in the device's format, or nullopt when it cannot be
// decoded. A valid sound of no length gives an empty buffer.
std::optional<std::vector<uint8_t>> DecodeWave(std::span<const uint8_t> image,
                                               const SDL_AudioSpec& device);

}  // namespace platform
