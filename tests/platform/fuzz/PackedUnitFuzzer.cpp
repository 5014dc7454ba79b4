// libFuzzer target: arbitrary bytes as a packed sound unit's file, read as data.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "jbw/PackFormat.h"
#include "platform/linux/unitreader/PackedUnit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string why;
  const auto unit = platform::ParsePackedUnit({data, size}, &why);
  if (!unit) return 0;
  bool whole = unit->clips.size() <= jbw::pack::kMaxClips;
  for (const auto& clip : unit->clips)
    whole = whole && clip.offset <= size && clip.size <= size - clip.offset &&
            clip.name.size() <= jbw::pack::kMaxTextLength;
  if (!whole) {
    std::fprintf(stderr, "invariant broken: a clip outside the file was accepted\n");
    std::abort();
  }
  return 0;
}
