#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/linux/wave/WaveImage.h"
#include "platform/linux/wave/WaveSource.h"

namespace platform {

// Decodes a WAVE sound into a device's format a piece at a time, so that the first
// piece can play while the rest is still on disk. Pieces are whole frames.
class WaveDecoder {
 public:
  // Checks the sound and decodes its first piece; nullptr when it cannot be played.
  // The source must outlive the decoder.
  static std::unique_ptr<WaveDecoder> Open(WaveSource& source, const SDL_AudioSpec& device);

  ~WaveDecoder();
  WaveDecoder(const WaveDecoder&) = delete;
  WaveDecoder& operator=(const WaveDecoder&) = delete;

  // The next piece; empty once the whole sound, with the converter's tail, has been
  // given. A file that can no longer be read ends there.
  std::vector<uint8_t> Next();

 private:
  WaveDecoder(WaveSource& source, const WaveLayout& layout, const SDL_AudioSpec& device);
  bool Put(const std::vector<uint8_t>& data);
  std::vector<uint8_t> Take();

  WaveSource& source_;
  WaveLayout layout_;
  SDL_AudioSpec device_;
  uint64_t position_ = 0;  // into the sample data
  size_t pieceBytes_ = 0;
  bool flushed_ = false;
  SDL_AudioStream* stream_ = nullptr;
  size_t frameIn_ = 0;
  size_t frameOut_ = 0;
  std::vector<uint8_t> read_;
};

}  // namespace platform
