// Build-time tool for the tests: writes a WAVE file's sound as Opus or MP3 through
// libsndfile, since sox on Debian writes neither. make_clip IN.wav OUT.opus|OUT.mp3
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

extern "C" {
struct SNDFILE;
struct SF_INFO {
  int64_t frames;
  int samplerate;
  int channels;
  int format;
  int sections;
  int seekable;
};
SNDFILE* sf_open(const char* path, int mode, SF_INFO* info);
int64_t sf_readf_short(SNDFILE* sound, short* ptr, int64_t frames);
int64_t sf_writef_short(SNDFILE* sound, const short* ptr, int64_t frames);
int sf_close(SNDFILE* sound);
const char* sf_strerror(SNDFILE* sound);
}

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  SF_INFO in{};
  SNDFILE* source = sf_open(argv[1], 0x10, &in);
  if (!source) return std::fprintf(stderr, "%s: %s\n", argv[1], sf_strerror(nullptr)), 1;
  const bool opus = std::strstr(argv[2], ".opus") != nullptr;
  SF_INFO out{0, in.samplerate, in.channels, opus ? 0x200064 : 0x230082, 0, 0};
  SNDFILE* target = sf_open(argv[2], 0x20, &out);
  if (!target) return std::fprintf(stderr, "%s: %s\n", argv[2], sf_strerror(nullptr)), 1;
  std::vector<short> chunk(4096 * static_cast<size_t>(in.channels));
  int64_t got;
  while ((got = sf_readf_short(source, chunk.data(), 4096)) > 0) {
    sf_writef_short(target, chunk.data(), got);
  }
  sf_close(target);
  sf_close(source);
  return 0;
}
