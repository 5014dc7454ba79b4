#include "platform/linux/wave/WaveImage.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

constexpr uint16_t kPcm = 1;
constexpr uint16_t kFloat = 3;
constexpr uint16_t kExtensible = 0xFFFE;

uint16_t U16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}
uint32_t U32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

void Put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, static_cast<uint16_t>(v));
  Put16(out, static_cast<uint16_t>(v >> 16));
}
void PutTag(std::vector<uint8_t>& out, const char* tag) {
  out.insert(out.end(), tag, tag + 4);
}

std::optional<WaveLayout> Fail(std::string* why, const char* text) {
  if (why) *why = text;
  return std::nullopt;
}

// The sample encoding behind a format tag: for the extensible form, the first two
// bytes of its sub-format identifier.
uint16_t Encoding(const WaveLayout& w) {
  if (w.formatTag != kExtensible) return w.formatTag;
  return w.format.size() >= 26 ? U16(w.format.data() + 24) : 0;
}

}  // namespace

std::optional<WaveLayout> ParseWave(std::span<const uint8_t> image, std::string* why) {
  if (image.size() < 12 || std::memcmp(image.data(), "RIFF", 4) != 0 ||
      std::memcmp(image.data() + 8, "WAVE", 4) != 0)
    return Fail(why, "not a RIFF/WAVE file");

  WaveLayout w;
  bool haveFormat = false, haveData = false;
  size_t pos = 12;
  while (image.size() - pos >= 8 && !(haveFormat && haveData)) {
    const uint8_t* header = image.data() + pos;
    const size_t available = image.size() - pos - 8;
    const size_t length = std::min<size_t>(U32(header + 4), available);
    std::span<const uint8_t> body = image.subspan(pos + 8, length);
    if (!haveFormat && std::memcmp(header, "fmt ", 4) == 0) {
      w.format = body;
      haveFormat = true;
    } else if (!haveData && std::memcmp(header, "data", 4) == 0) {
      w.data = body;
      haveData = true;
    }
    pos += 8 + length + (length & 1);
    if (pos > image.size()) break;
  }
  if (!haveFormat) return Fail(why, "no format chunk");
  if (w.format.size() < 16) return Fail(why, "format chunk too short");
  if (!haveData) return Fail(why, "no data chunk");

  const uint8_t* f = w.format.data();
  w.formatTag = U16(f);
  w.channels = U16(f + 2);
  w.sampleRate = U32(f + 4);
  w.blockAlign = U16(f + 12);
  w.bitsPerSample = U16(f + 14);
  if (w.channels == 0 || w.channels > 8) return Fail(why, "unsupported channel count");
  if (w.sampleRate < 1000 || w.sampleRate > 384000) return Fail(why, "unsupported sample rate");
  if (w.blockAlign == 0) return Fail(why, "zero block size");

  const uint16_t encoding = Encoding(w);
  if (encoding == kPcm || encoding == kFloat) {
    const bool bitsOk = encoding == kPcm ? (w.bitsPerSample == 8 || w.bitsPerSample == 16 ||
                                            w.bitsPerSample == 24 || w.bitsPerSample == 32)
                                         : (w.bitsPerSample == 32 || w.bitsPerSample == 64);
    if (!bitsOk) return Fail(why, "unsupported sample size");
    if (w.blockAlign != w.channels * (w.bitsPerSample / 8))
      return Fail(why, "block size does not match the format");
  } else if (w.formatTag == kExtensible) {
    return Fail(why, "unsupported sample encoding");
  }
  // Compressed encodings are left for the decoder to accept or refuse.

  w.data = w.data.first(w.data.size() - w.data.size() % w.blockAlign);
  return w;
}

void AppendPcm16WaveHeader(std::vector<uint8_t>& out, uint32_t channels, uint32_t rate,
                           uint32_t dataBytes) {
  auto put = [&](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
  };
  out.insert(out.end(), {'R', 'I', 'F', 'F'});
  put(36 + dataBytes, 4);
  out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  put(16, 4);
  put(1, 2);  // PCM
  put(channels, 2);
  put(rate, 4);
  put(rate * channels * 2, 4);
  put(channels * 2, 2);
  put(16, 2);
  out.insert(out.end(), {'d', 'a', 't', 'a'});
  put(dataBytes, 4);
}

std::vector<uint8_t> CleanWaveImage(const WaveLayout& layout, size_t maxDataBytes) {
  const size_t formatBytes = std::min<size_t>(layout.format.size(), 0xFFFF);
  size_t dataBytes = std::min(layout.data.size(), maxDataBytes);
  dataBytes -= layout.blockAlign ? dataBytes % layout.blockAlign : 0;
  dataBytes = std::min<size_t>(dataBytes, 0xFFFF0000u);

  const size_t formatPadded = formatBytes + (formatBytes & 1);
  std::vector<uint8_t> out;
  out.reserve(12 + 8 + formatPadded + 8 + dataBytes + 1);
  PutTag(out, "RIFF");
  Put32(out, static_cast<uint32_t>(4 + 8 + formatPadded + 8 + dataBytes + (dataBytes & 1)));
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  Put32(out, static_cast<uint32_t>(formatBytes));
  out.insert(out.end(), layout.format.begin(), layout.format.begin() + formatBytes);
  if (formatBytes & 1) out.push_back(0);
  PutTag(out, "data");
  Put32(out, static_cast<uint32_t>(dataBytes));
  out.insert(out.end(), layout.data.begin(), layout.data.begin() + dataBytes);
  if (dataBytes & 1) out.push_back(0);
  return out;
}

}  // namespace platform
