#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace platform {

// The parts of a RIFF/WAVE file image that playback needs.
struct WaveLayout {
  uint16_t formatTag = 0;
  uint16_t channels = 0;
  uint32_t sampleRate = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;
  std::span<const uint8_t> format;  // the "fmt " chunk's body
  std::span<const uint8_t> data;    // the "data" chunk's body, cut to the bytes present
                                    // and to whole blocks
};

// Reads the chunk structure of a WAVE image without trusting any size in it: chunks
// that claim more than the image holds are cut at its end. Returns nullopt, with the
// reason in `why`, for images that are not RIFF/WAVE or whose format makes no sense.
std::optional<WaveLayout> ParseWave(std::span<const uint8_t> image, std::string* why = nullptr);

// The 44-byte header of a 16-bit PCM WAVE image whose samples follow it, appended to
// `out`.
void AppendPcm16WaveHeader(std::vector<uint8_t>& out, uint32_t channels, uint32_t rate,
                           uint32_t dataBytes);

// A minimal, self-consistent image of the same sound: RIFF header, the format chunk
// and a data chunk of at most `maxDataBytes`, all sizes true.
std::vector<uint8_t> CleanWaveImage(const WaveLayout& layout, size_t maxDataBytes);

}  // namespace platform
