#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace platform {

// Whether the path names a file of those formats: .flac, .ogg, .opus or .mp3, in any
// letter case.
bool HasOtherSoundFormatName(std::string_view path);

// A sound file in another format (FLAC, Ogg Vorbis, Opus, MP3) decoded with libsndfile,
// which is loaded with the first such file, a piece at a time into 16-bit PCM samples,
// so that a long file is never held whole, in either form.
class SoundFileDecoder {
 public:
  // nullptr when libsndfile is missing or the file is none it may read. The file is
  // read with pread on `fd`, which must stay open while the decoder lives.
  static std::unique_ptr<SoundFileDecoder> Open(int fd, uint64_t size);
  // The same over bytes the caller keeps alive while the decoder lives.
  static std::unique_ptr<SoundFileDecoder> Open(std::span<const uint8_t> file);

  ~SoundFileDecoder();
  SoundFileDecoder(const SoundFileDecoder&) = delete;
  SoundFileDecoder& operator=(const SoundFileDecoder&) = delete;

  uint32_t Channels() const { return channels_; }
  uint32_t Rate() const { return rate_; }

  // Replaces `out` with the next samples, at most `frames` frames, in the machine's
  // byte order (little-endian, as WAVE's, on every machine we build for); empty at the
  // end. A damaged file ends where nothing more can be decoded; no file gives more
  // than the largest sound file we take.
  void Read(size_t frames, std::vector<uint8_t>& out);

  // Where libsndfile reads from; public only for its callbacks.
  struct Input {
    std::span<const uint8_t> bytes;
    int fd = -1;
    int64_t size = 0;
    int64_t at = 0;
  };

 private:
  SoundFileDecoder() = default;
  static std::unique_ptr<SoundFileDecoder> Start(std::unique_ptr<SoundFileDecoder> decoder);

  Input input_;
  void* sound_ = nullptr;  // libsndfile's SNDFILE
  uint32_t channels_ = 0;
  uint32_t rate_ = 0;
  uint64_t given_ = 0;  // bytes of samples handed out
  std::vector<short> frames_;
};

// The whole of such a file as a 16-bit PCM WAVE image; nullopt when it cannot be read
// or nothing of it can be decoded.
std::optional<std::vector<uint8_t>> DecodeSoundFileToWave(std::span<const uint8_t> file);

}  // namespace platform
