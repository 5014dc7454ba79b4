#include "platform/linux/sound/WaveDecode.h"

#include <algorithm>
#include <memory>

namespace platform {

namespace {

// Pieces of about 50 ms: small enough that the first starts at once and little is held,
// large enough that decoding them costs next to nothing per piece.
constexpr uint64_t kPiecesPerSecond = 20;
constexpr size_t kMaxPieceBytes = size_t{1} << 20;

uint32_t U32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

// Input bytes per piece: whole blocks, at least one. Compressed encodings say their
// byte rate in the format chunk; plain ones have it from their layout.
size_t PieceBytes(const WaveLayout& w) {
  const bool plain = w.formatTag == 1 || w.formatTag == 3 || w.formatTag == 0xFFFE;
  uint64_t perSecond = uint64_t{w.sampleRate} * w.blockAlign;
  if (!plain && U32(w.format.data() + 8) != 0) perSecond = U32(w.format.data() + 8);
  const uint64_t blocks = std::max<uint64_t>(1, perSecond / kPiecesPerSecond / w.blockAlign);
  const uint64_t most = std::max<uint64_t>(1, kMaxPieceBytes / w.blockAlign);
  return static_cast<size_t>(std::min(blocks, most) * w.blockAlign);
}

}  // namespace

WaveDecoder::WaveDecoder(WaveSource& source, const WaveLayout& layout, const SDL_AudioSpec& device)
    : source_(source), layout_(layout), device_(device), pieceBytes_(PieceBytes(layout)) {}

WaveDecoder::~WaveDecoder() {
  if (stream_) SDL_FreeAudioStream(stream_);
}

std::unique_ptr<WaveDecoder> WaveDecoder::Open(WaveSource& source, const SDL_AudioSpec& device) {
  auto layout = source.ReadHeader();
  if (!layout) return nullptr;
  std::unique_ptr<WaveDecoder> decoder(new WaveDecoder(source, *layout, device));
  // The first piece goes through the decoder even when empty: it decides whether
  // the sound plays at all, as a whole file once did.
  const size_t first =
      static_cast<size_t>(std::min<uint64_t>(decoder->pieceBytes_, source.DataSize()));
  if (!source.ReadData(0, first, decoder->read_) || !decoder->Put(decoder->read_)) return nullptr;
  decoder->position_ = first;
  return decoder;
}

// Decodes whole blocks of sample data with SDL's WAVE loader (a clean image of the
// format and these blocks) and feeds them to the converter, made on the first piece.
bool WaveDecoder::Put(const std::vector<uint8_t>& data) {
  WaveLayout piece = layout_;
  piece.data = data;
  std::vector<uint8_t> image = CleanWaveImage(piece, data.size());
  SDL_AudioSpec clip{};
  Uint8* decoded = nullptr;
  Uint32 decodedBytes = 0;
  SDL_RWops* rw = SDL_RWFromConstMem(image.data(), static_cast<int>(image.size()));
  if (!rw || !SDL_LoadWAV_RW(rw, 1, &clip, &decoded, &decodedBytes)) return false;
  std::unique_ptr<Uint8, void (*)(Uint8*)> owned(decoded, SDL_FreeWAV);
  if (!stream_) {
    stream_ = SDL_NewAudioStream(clip.format, clip.channels, clip.freq, device_.format,
                                 device_.channels, device_.freq);
    if (!stream_) return false;
    frameIn_ = static_cast<size_t>(SDL_AUDIO_BITSIZE(clip.format) / 8) * clip.channels;
    frameOut_ = static_cast<size_t>(SDL_AUDIO_BITSIZE(device_.format) / 8) * device_.channels;
  }
  const size_t whole = decodedBytes - decodedBytes % frameIn_;
  return whole == 0 || SDL_AudioStreamPut(stream_, decoded, static_cast<int>(whole)) == 0;
}

std::vector<uint8_t> WaveDecoder::Take() {
  std::vector<uint8_t> out;
  const int available = SDL_AudioStreamAvailable(stream_);
  if (available <= 0) return out;
  out.resize(static_cast<size_t>(available) - static_cast<size_t>(available) % frameOut_);
  const int got = SDL_AudioStreamGet(stream_, out.data(), static_cast<int>(out.size()));
  out.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return out;
}

std::vector<uint8_t> WaveDecoder::Next() {
  while (true) {
    std::vector<uint8_t> out = Take();
    if (!out.empty() || flushed_) return out;
    const uint64_t left = source_.DataSize() - position_;
    const size_t size = static_cast<size_t>(std::min<uint64_t>(pieceBytes_, left));
    // The resampler holds back the last few samples until told that no more come.
    if (size == 0 || !source_.ReadData(position_, size, read_) || !Put(read_)) {
      SDL_AudioStreamFlush(stream_);
      flushed_ = true;
    }
    position_ += size;
  }
}

}  // namespace platform
