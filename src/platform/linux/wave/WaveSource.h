#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/linux/wave/SoundFileDecode.h"
#include "platform/linux/wave/WaveImage.h"

namespace platform {

// Larger sound files are not sounds anyone clicks for.
constexpr uint64_t kMaxSoundFileBytes = uint64_t{256} << 20;

// A WAVE sound's bytes, in memory or still on disk, read a piece at a time so that a
// big file never has to be held whole.
class WaveSource {
 public:
  // Opens a regular file of at most kMaxSoundFileBytes; nullptr otherwise. Never
  // blocks on a FIFO or a device node. A FLAC, Ogg, Opus or MP3 file (by its name, and
  // no WAVE file) is decoded as it is read, on the thread that streams it: it looks
  // like 16-bit PCM WAVE of an unknown length, and ReadData gives its samples in order.
  static std::unique_ptr<WaveSource> FromFile(const char* path);
  // An image the caller keeps alive for as long as the source is used.
  static std::unique_ptr<WaveSource> FromImage(std::span<const uint8_t> image);

  ~WaveSource();
  WaveSource(const WaveSource&) = delete;
  WaveSource& operator=(const WaveSource&) = delete;

  // Reads and checks the header. The layout's format stays valid with the source; its
  // data span is left empty, the sample data being read with ReadData.
  std::optional<WaveLayout> ReadHeader(std::string* why = nullptr);
  uint64_t DataSize() const { return dataSize_; }
  // Whether it reads memory the caller owns (FromImage), which must not be released
  // while the source is in use.
  bool Borrows() const { return fd_ < 0 && !decoded_; }

  // Replaces `out` with `size` bytes of sample data from `offset`; false when they
  // cannot be read (a file cut short while it plays). A decoded file gives its next
  // samples whatever the offset, up to `size` bytes, and false at its end.
  bool ReadData(uint64_t offset, size_t size, std::vector<uint8_t>& out);

 private:
  WaveSource() = default;
  bool ReadAt(uint64_t offset, size_t size, uint8_t* out);
  std::optional<WaveLayout> StartDecoding();

  int fd_ = -1;
  uint64_t size_ = 0;
  std::span<const uint8_t> image_;
  bool otherFormat_ = false;
  std::unique_ptr<SoundFileDecoder> decoded_;  // a file of another format, once opened
  std::vector<uint8_t> format_;                // a file's format chunk
  uint64_t dataOffset_ = 0;
  uint64_t dataSize_ = 0;
};

}  // namespace platform
