#include "platform/linux/wave/WaveSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace platform {

namespace {

// The chunks before a file's sample data (format, lists, cue points) fit in this; a
// file whose header does not is refused like any other damaged file.
constexpr size_t kMaxHeaderBytes = size_t{1} << 20;

uint32_t U32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

}  // namespace

std::unique_ptr<WaveSource> WaveSource::FromFile(const char* path) {
  // O_NONBLOCK and the regular-file test keep a FIFO or device node from stalling us.
  const int fd = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return nullptr;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
      static_cast<uint64_t>(st.st_size) > kMaxSoundFileBytes) {
    close(fd);
    return nullptr;
  }
  std::unique_ptr<WaveSource> source(new WaveSource);
  source->fd_ = fd;
  source->size_ = static_cast<uint64_t>(st.st_size);
  uint8_t riff[4] = {};
  source->otherFormat_ = HasOtherSoundFormatName(path) &&
                         !(source->ReadAt(0, 4, riff) && std::memcmp(riff, "RIFF", 4) == 0);
  return source;
}

std::unique_ptr<WaveSource> WaveSource::FromImage(std::span<const uint8_t> image) {
  std::unique_ptr<WaveSource> source(new WaveSource);
  source->image_ = image;
  source->size_ = image.size();
  return source;
}

WaveSource::~WaveSource() {
  if (fd_ >= 0) close(fd_);
}

// The samples come as 16-bit PCM of the file's rate and channels, as many as libsndfile
// can decode; the length is found at the end.
std::optional<WaveLayout> WaveSource::StartDecoding() {
  otherFormat_ = false;
  decoded_ = SoundFileDecoder::Open(fd_, size_);
  if (!decoded_) return std::nullopt;
  std::vector<uint8_t> header;
  AppendPcm16WaveHeader(header, decoded_->Channels(), decoded_->Rate(), 0);
  format_.assign(header.begin() + 20, header.begin() + 36);
  WaveLayout layout;
  layout.formatTag = 1;
  layout.channels = static_cast<uint16_t>(decoded_->Channels());
  layout.sampleRate = decoded_->Rate();
  layout.blockAlign = static_cast<uint16_t>(2 * decoded_->Channels());
  layout.bitsPerSample = 16;
  layout.format = format_;
  dataSize_ = kMaxSoundFileBytes - kMaxSoundFileBytes % layout.blockAlign;
  return layout;
}

std::optional<WaveLayout> WaveSource::ReadHeader(std::string* why) {
  if (otherFormat_) {
    auto layout = StartDecoding();
    if (!layout && why) *why = "no sound libsndfile can read";
    return layout;
  }
  if (fd_ < 0) {
    auto layout = ParseWave(image_, why);
    if (!layout) return std::nullopt;
    dataOffset_ = static_cast<uint64_t>(layout->data.data() - image_.data());
    dataSize_ = layout->data.size();
    layout->data = {};
    return layout;
  }
  // The header is judged on the file's head; the data chunk's true extent then comes
  // from its declared size, cut to what the file holds.
  std::vector<uint8_t> head(static_cast<size_t>(std::min<uint64_t>(size_, kMaxHeaderBytes)));
  if (!ReadAt(0, head.size(), head.data())) head.clear();
  auto layout = ParseWave(head, why);
  if (!layout) return std::nullopt;
  format_.assign(layout->format.begin(), layout->format.end());
  dataOffset_ = static_cast<uint64_t>(layout->data.data() - head.data());
  const uint64_t declared = U32(head.data() + dataOffset_ - 4);
  dataSize_ = std::min(declared, size_ - dataOffset_);
  dataSize_ -= dataSize_ % layout->blockAlign;
  layout->format = format_;
  layout->data = {};
  return layout;
}

bool WaveSource::ReadData(uint64_t offset, size_t size, std::vector<uint8_t>& out) {
  if (decoded_) {
    decoded_->Read(size / (2 * decoded_->Channels()), out);
    return !out.empty();
  }
  out.resize(size);
  return offset <= dataSize_ && size <= dataSize_ - offset &&
         ReadAt(dataOffset_ + offset, size, out.data());
}

bool WaveSource::ReadAt(uint64_t offset, size_t size, uint8_t* out) {
  if (fd_ < 0) {
    if (offset > image_.size() || size > image_.size() - offset) return false;
    std::copy_n(image_.data() + offset, size, out);
    return true;
  }
  while (size > 0) {
    const ssize_t got = pread(fd_, out, size, static_cast<off_t>(offset));
    if (got <= 0) return false;
    out += got;
    size -= static_cast<size_t>(got);
    offset += static_cast<uint64_t>(got);
  }
  return true;
}

}  // namespace platform
