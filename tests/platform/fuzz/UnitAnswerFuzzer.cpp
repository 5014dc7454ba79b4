// libFuzzer target: arbitrary bytes as the unit reader's answer, checked as the board
// checks it against a unit file and a memory file of fixed sizes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>

#include "platform/linux/unitreader/ReaderAnswer.h"

namespace {

constexpr uint64_t kUnitFileSize = 4096;
constexpr uint64_t kMemoryFileSize = 1024;

[[noreturn]] void Broken(const char* what) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using platform::ReaderAnswer;
  std::string why;
  const auto answer =
      platform::ParseReaderAnswer({data, size}, kUnitFileSize, kMemoryFileSize, &why);
  if (!answer) {
    if (why.empty()) Broken("a refusal without a reason");
    return 0;
  }
  for (const auto& clip : answer->clips) {
    if (clip.where == ReaderAnswer::Where::None) continue;
    const uint64_t limit =
        clip.where == ReaderAnswer::Where::UnitFile ? kUnitFileSize : answer->memoryUsed;
    if (clip.length == 0 || clip.offset > limit || clip.length > limit - clip.offset)
      Broken("a clip outside its file was accepted");
  }
  if (answer->memoryUsed > kMemoryFileSize) Broken("more memory than the file holds");
  // What was accepted is exactly what the reader would have written.
  const std::string again = platform::EncodeReaderAnswer(*answer);
  if (again.size() != size || std::memcmp(again.data(), data, size) != 0)
    Broken("an accepted answer does not encode back to itself");
  return 0;
}
