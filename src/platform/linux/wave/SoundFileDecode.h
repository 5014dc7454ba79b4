#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace platform {

// Whether the path names a file of those formats: .flac, .ogg, .opus or .mp3, in any
// letter case.
bool HasOtherSoundFormatName(std::string_view path);

// A sound file in another format (FLAC, Ogg Vorbis, Opus, MP3) as a 16-bit PCM WAVE
// image, decoded with libsndfile, which is loaded with the first such file. nullopt
// when libsndfile is missing or the file is none it can read; a damaged file gives
// what could be decoded of it, or nullopt when that is nothing.
std::optional<std::vector<uint8_t>> DecodeSoundFileToWave(std::span<const uint8_t> file);

}  // namespace platform
