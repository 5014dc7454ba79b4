#pragma once

// The payload jbw-unit-pack appends to a copy of the unit template, and the template
// reads back from its own file. The program reads such a unit as data, by this layout,
// and never loads it as code. Little-endian throughout:
//
//   payload:  "JBWUNIT1", u32 clip count, string header ("Identifier:Caption"),
//             then per clip: string resource name, string caption, u64 size, WAV bytes
//   string:   u32 length, bytes (no NUL)
//   trailer:  u64 payload offset, u64 payload size, "JBWPACK1" (the file's last bytes)
//
// The payload lies after the template's last loadable segment, so the loader never
// maps it and the module check still sees a whole shared object.

#include <cstddef>
#include <cstdint>

namespace jbw::pack {

constexpr char kPayloadMagic[8] = {'J', 'B', 'W', 'U', 'N', 'I', 'T', '1'};
constexpr char kTrailerMagic[8] = {'J', 'B', 'W', 'P', 'A', 'C', 'K', '1'};
constexpr size_t kTrailerSize = 24;

constexpr uint32_t kMaxClips = 4096;
constexpr uint32_t kMaxTextLength = 4096;
constexpr uint64_t kMaxClipBytes = uint64_t{256} << 20;
constexpr uint64_t kMaxPayloadBytes = uint64_t{1} << 31;

constexpr const char* kTemplateFileName = "jbw-unit-template.so";

}  // namespace jbw::pack
