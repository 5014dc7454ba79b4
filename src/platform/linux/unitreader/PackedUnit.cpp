#include "platform/linux/unitreader/PackedUnit.h"

#include "jbw/PackFormat.h"
#include "platform/linux/unitreader/ByteReader.h"

namespace platform {

using namespace jbw::pack;

namespace {

std::nullopt_t Fail(std::string* why, const char* text) {
  if (why) *why = text;
  return std::nullopt;
}

}  // namespace

bool HasPackTrailer(std::span<const uint8_t> file) {
  return file.size() >= kTrailerSize &&
         std::memcmp(file.data() + file.size() - 8, kTrailerMagic, 8) == 0;
}

std::optional<PackedUnit> ParsePackedUnit(std::span<const uint8_t> file, std::string* why) {
  if (!HasPackTrailer(file)) return Fail(why, "no packed payload");
  const uint64_t end = file.size() - kTrailerSize;
  uint64_t offset = 0, size = 0;
  ByteReader trailer(file.subspan(end));
  trailer.U64(offset);
  trailer.U64(size);
  if (size == 0 || size > kMaxPayloadBytes || offset > end || size != end - offset)
    return Fail(why, "the packed payload lies outside the file");

  ByteReader in(file.subspan(offset, size));
  char magic[8];
  uint32_t count = 0;
  PackedUnit unit;
  if (!in.Take(magic, 8) || std::memcmp(magic, kPayloadMagic, 8) != 0)
    return Fail(why, "unknown packed payload");
  if (!in.U32(count) || count > kMaxClips || !in.Text(unit.header, kMaxTextLength))
    return Fail(why, "damaged packed header");
  unit.clips.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    PackedUnit::Clip clip;
    if (!in.Text(clip.name, kMaxTextLength) || !in.Text(clip.caption, kMaxTextLength) ||
        !in.U64(clip.size) || clip.size > kMaxClipBytes)
      return Fail(why, "damaged packed clip list");
    clip.offset = offset + in.Position();
    if (!in.Skip(clip.size)) return Fail(why, "a packed clip runs past the payload");
    unit.clips.push_back(std::move(clip));
  }
  return unit;
}

}  // namespace platform
