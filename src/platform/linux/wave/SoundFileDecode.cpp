#include "platform/linux/wave/SoundFileDecode.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

#include "platform/linux/wave/WaveImage.h"
#include "platform/linux/wave/WaveSource.h"

namespace platform {

namespace {

// libsndfile's public interface, the few parts used here. It is loaded on demand, like
// SDL, so the program neither links it nor needs its headers.
using sf_count_t = int64_t;
struct SF_INFO {
  sf_count_t frames;
  int samplerate;
  int channels;
  int format;
  int sections;
  int seekable;
};
struct SF_VIRTUAL_IO {
  sf_count_t (*get_filelen)(void* user);
  sf_count_t (*seek)(sf_count_t offset, int whence, void* user);
  sf_count_t (*read)(void* ptr, sf_count_t count, void* user);
  sf_count_t (*write)(const void* ptr, sf_count_t count, void* user);
  sf_count_t (*tell)(void* user);
};
struct SNDFILE;
constexpr int SFM_READ = 0x10;

struct Library {
  SNDFILE* (*open_virtual)(SF_VIRTUAL_IO*, int, SF_INFO*, void*) = nullptr;
  sf_count_t (*readf_short)(SNDFILE*, short*, sf_count_t) = nullptr;
  int (*close)(SNDFILE*) = nullptr;
};

const Library* Sndfile() {
  static Library library;
  static std::once_flag once;
  std::call_once(once, [] {
    // Never closed: its codec libraries keep global state.
    void* handle = dlopen("libsndfile.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!handle) return;
    library.open_virtual =
        reinterpret_cast<decltype(library.open_virtual)>(dlsym(handle, "sf_open_virtual"));
    library.readf_short =
        reinterpret_cast<decltype(library.readf_short)>(dlsym(handle, "sf_readf_short"));
    library.close = reinterpret_cast<decltype(library.close)>(dlsym(handle, "sf_close"));
  });
  return library.open_virtual && library.readf_short && library.close ? &library : nullptr;
}

// The file, in memory or on disk, read by libsndfile through these.
using Input = SoundFileDecoder::Input;
sf_count_t InputLength(void* user) {
  return static_cast<Input*>(user)->size;
}
// As in a file, a position past the end is kept, and reads there give nothing; a
// parser that skips a chunk longer than the file then finds its end.
sf_count_t InputSeek(sf_count_t offset, int whence, void* user) {
  auto* r = static_cast<Input*>(user);
  const sf_count_t base = whence == SEEK_CUR ? r->at : whence == SEEK_END ? r->size : 0;
  if (offset > 0 && base > INT64_MAX - offset) return -1;
  if (base + offset < 0) return -1;
  r->at = base + offset;
  return r->at;
}
sf_count_t InputRead(void* ptr, sf_count_t count, void* user) {
  auto* r = static_cast<Input*>(user);
  if (r->at >= r->size) return 0;
  const sf_count_t n = std::clamp<sf_count_t>(count, 0, r->size - r->at);
  if (r->fd < 0) {
    std::memcpy(ptr, r->bytes.data() + r->at, static_cast<size_t>(n));
    r->at += n;
    return n;
  }
  sf_count_t done = 0;
  while (done < n) {
    const ssize_t got = ::pread(r->fd, static_cast<char*>(ptr) + done,
                                static_cast<size_t>(n - done), static_cast<off_t>(r->at));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += got;
    r->at += got;
  }
  return done;
}
sf_count_t InputWrite(const void*, sf_count_t, void*) {
  return 0;
}
sf_count_t InputTell(void* user) {
  return static_cast<Input*>(user)->at;
}

// libsndfile reads dozens of formats; only these four reach it, by their first bytes,
// and only these come back out of it.
bool StartsAsOtherFormat(std::span<const uint8_t> file) {
  auto starts = [&](const char* magic, size_t n) {
    return file.size() >= n && std::memcmp(file.data(), magic, n) == 0;
  };
  const bool mpegFrame = file.size() >= 2 && file[0] == 0xFF && (file[1] & 0xE0) == 0xE0;
  return starts("fLaC", 4) || starts("OggS", 4) || starts("ID3", 3) || mpegFrame;
}
constexpr int SF_FORMAT_TYPEMASK = 0x0FFF0000;
constexpr int SF_FORMAT_FLAC = 0x170000;
constexpr int SF_FORMAT_OGG = 0x200000;
constexpr int SF_FORMAT_MPEG = 0x230000;
bool OtherFormat(int format) {
  const int type = format & SF_FORMAT_TYPEMASK;
  return type == SF_FORMAT_FLAC || type == SF_FORMAT_OGG || type == SF_FORMAT_MPEG;
}

}  // namespace

bool HasOtherSoundFormatName(std::string_view path) {
  const size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos) {
    return false;
  }
  std::string extension(path.substr(dot + 1));
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == "flac" || extension == "ogg" || extension == "opus" || extension == "mp3";
}

std::unique_ptr<SoundFileDecoder> SoundFileDecoder::Open(int fd, uint64_t size) {
  std::unique_ptr<SoundFileDecoder> decoder(new SoundFileDecoder);
  decoder->input_.fd = fd;
  decoder->input_.size = static_cast<int64_t>(std::min(size, kMaxSoundFileBytes));
  return Start(std::move(decoder));
}

std::unique_ptr<SoundFileDecoder> SoundFileDecoder::Open(std::span<const uint8_t> file) {
  std::unique_ptr<SoundFileDecoder> decoder(new SoundFileDecoder);
  decoder->input_.bytes = file;
  decoder->input_.size = static_cast<int64_t>(file.size());
  return Start(std::move(decoder));
}

std::unique_ptr<SoundFileDecoder> SoundFileDecoder::Start(
    std::unique_ptr<SoundFileDecoder> decoder) {
  Input& input = decoder->input_;
  uint8_t head[4] = {};
  const auto headBytes = static_cast<size_t>(InputRead(head, sizeof head, &input));
  input.at = 0;
  if (!StartsAsOtherFormat({head, headBytes})) return nullptr;
  const Library* sf = Sndfile();
  if (!sf) return nullptr;
  SF_VIRTUAL_IO io{&InputLength, &InputSeek, &InputRead, &InputWrite, &InputTell};
  SF_INFO info{};
  SNDFILE* sound = sf->open_virtual(&io, SFM_READ, &info, &input);
  if (!sound) return nullptr;
  decoder->sound_ = sound;
  if (!OtherFormat(info.format) || info.channels < 1 || info.channels > 8 ||
      info.samplerate < 1000 || info.samplerate > 384000) {
    return nullptr;
  }
  decoder->channels_ = static_cast<uint32_t>(info.channels);
  decoder->rate_ = static_cast<uint32_t>(info.samplerate);
  return decoder;
}

SoundFileDecoder::~SoundFileDecoder() {
  // Only an opened file has a sound, and only with the library loaded.
  if (sound_) Sndfile()->close(static_cast<SNDFILE*>(sound_));
}

void SoundFileDecoder::Read(size_t frames, std::vector<uint8_t>& out) {
  out.clear();
  // The frame count may be unknown or wrong in a damaged file: it is read until the
  // end, up to the size of the largest sound file we take.
  if (given_ >= kMaxSoundFileBytes || frames == 0) return;
  frames_.resize(frames * channels_);
  const sf_count_t got = Sndfile()->readf_short(static_cast<SNDFILE*>(sound_), frames_.data(),
                                                static_cast<sf_count_t>(frames));
  if (got <= 0) return;
  const auto* bytes = reinterpret_cast<const uint8_t*>(frames_.data());
  out.assign(bytes, bytes + static_cast<size_t>(got) * channels_ * sizeof(short));
  given_ += out.size();
}

std::optional<std::vector<uint8_t>> DecodeSoundFileToWave(std::span<const uint8_t> file) {
  auto decoder = SoundFileDecoder::Open(file);
  if (!decoder) return std::nullopt;
  std::vector<uint8_t> samples, piece;
  for (decoder->Read(4096, piece); !piece.empty(); decoder->Read(4096, piece))
    samples.insert(samples.end(), piece.begin(), piece.end());
  // Nothing decodable gives nullopt, and so the chime.
  if (samples.empty()) return std::nullopt;
  std::vector<uint8_t> wave;
  wave.reserve(44 + samples.size());
  AppendPcm16WaveHeader(wave, decoder->Channels(), decoder->Rate(),
                        static_cast<uint32_t>(samples.size()));
  wave.insert(wave.end(), samples.begin(), samples.end());
  return wave;
}

}  // namespace platform
