#include "platform/linux/unitreader/ReaderAnswer.h"

#include "platform/ModuleResources.h"
#include "platform/linux/unitreader/ByteReader.h"

namespace platform {

namespace {

constexpr char kMagic[8] = {'J', 'B', 'W', 'R', 'E', 'A', 'D', '1'};

class Writer {
 public:
  void Bytes(const void* p, size_t n) { out_.append(static_cast<const char*>(p), n); }
  void U8(uint8_t v) { Bytes(&v, 1); }
  void U32(uint32_t v) { Bytes(&v, 4); }
  void U64(uint64_t v) { Bytes(&v, 8); }
  void Text(const std::string& s) {
    U32(static_cast<uint32_t>(s.size()));
    Bytes(s.data(), s.size());
  }
  std::string Take() { return std::move(out_); }

 private:
  std::string out_;
};

std::nullopt_t Fail(std::string* why, const char* text) {
  if (why) *why = text;
  return std::nullopt;
}

bool Within(uint64_t offset, uint64_t length, uint64_t size) {
  return offset <= size && length <= size - offset;
}

bool ClipFits(const ReaderAnswer::Clip& clip, uint64_t unitFileSize, uint64_t memoryUsed) {
  switch (clip.where) {
    case ReaderAnswer::Where::None:
      return true;
    case ReaderAnswer::Where::UnitFile:
    case ReaderAnswer::Where::MemoryFile: {
      const uint64_t size = clip.where == ReaderAnswer::Where::UnitFile ? unitFileSize : memoryUsed;
      return clip.length > 0 && clip.length <= kMaxResourceBytes &&
             Within(clip.offset, clip.length, size);
    }
  }
  return false;
}

}  // namespace

std::string EncodeReaderAnswer(const ReaderAnswer& answer) {
  Writer out;
  out.Bytes(kMagic, sizeof kMagic);
  out.U8(answer.read ? 1 : 0);
  if (!answer.read) {
    out.Text(answer.why.substr(0, kMaxUnitText));
    return out.Take();
  }
  out.Text(answer.header);
  out.U32(static_cast<uint32_t>(answer.clips.size()));
  for (const auto& clip : answer.clips) {
    out.Text(clip.text);
    out.U8(static_cast<uint8_t>(clip.where));
    out.U64(clip.offset);
    out.U64(clip.length);
  }
  out.U64(answer.memoryUsed);
  return out.Take();
}

std::optional<ReaderAnswer> ParseReaderAnswer(std::span<const uint8_t> bytes, uint64_t unitFileSize,
                                              uint64_t memoryFileSize, std::string* why) {
  if (bytes.size() > kMaxAnswerBytes) return Fail(why, "the reader's answer is too long");
  ByteReader in(bytes);
  char magic[8];
  uint8_t read = 0;
  if (!in.Take(magic, 8) || std::memcmp(magic, kMagic, 8) != 0 || !in.U8(read) || read > 1)
    return Fail(why, "the reader gave no answer");
  ReaderAnswer answer;
  if (read == 0) {
    if (!in.Text(answer.why, kMaxUnitText) || in.Left() != 0)
      return Fail(why, "the reader's answer is damaged");
    return answer;
  }
  answer.read = true;
  uint32_t count = 0;
  if (!in.Text(answer.header, kMaxUnitText) || !in.U32(count) || count > kMaxUnitClips)
    return Fail(why, "the unit's header or clip count is out of bounds");
  // Each clip takes at least 21 bytes, so a count the answer cannot hold fails here.
  if (count > in.Left() / 21) return Fail(why, "the reader's answer is cut short");
  answer.clips.resize(count);
  for (auto& clip : answer.clips) {
    uint8_t where = 0;
    if (!in.Text(clip.text, kMaxUnitText) || !in.U8(where) || where > 2 || !in.U64(clip.offset) ||
        !in.U64(clip.length))
      return Fail(why, "the unit's clip list is damaged");
    clip.where = static_cast<ReaderAnswer::Where>(where);
  }
  if (!in.U64(answer.memoryUsed) || answer.memoryUsed > memoryFileSize || in.Left() != 0)
    return Fail(why, "the reader's answer is damaged");
  for (const auto& clip : answer.clips)
    if (!ClipFits(clip, unitFileSize, answer.memoryUsed))
      return Fail(why, "a clip lies outside the unit");
  return answer;
}

}  // namespace platform
