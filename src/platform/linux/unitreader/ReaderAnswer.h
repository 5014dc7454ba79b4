#pragma once

// What the unit reader writes to its answer pipe, little-endian:
//
//   "JBWREAD1", u8 1 (read) or 0 (not read: then a text saying why, and nothing more)
//   text header, u32 clip count, then per clip:
//     text (what SoundsList answered), u8 where, u64 offset, u64 length
//   u64 bytes used of the memory file
//   text: u32 length, bytes
//
// where: 0 the unit has no such clip, 1 the bytes lie in the unit file, 2 the reader
// copied them into the memory file the board handed it.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace platform {

constexpr uint32_t kMaxUnitClips = 100000;
constexpr uint32_t kMaxUnitText = 4096;
constexpr uint64_t kMaxMemoryFileBytes = uint64_t{256} << 20;
constexpr size_t kMaxAnswerBytes = size_t{16} << 20;

struct ReaderAnswer {
  enum class Where : uint8_t { None = 0, UnitFile = 1, MemoryFile = 2 };
  struct Clip {
    std::string text;
    Where where = Where::None;
    uint64_t offset = 0;
    uint64_t length = 0;
  };
  bool read = false;
  std::string why;  // when not read
  std::string header;
  std::vector<Clip> clips;
  uint64_t memoryUsed = 0;
};

std::string EncodeReaderAnswer(const ReaderAnswer& answer);

// The answer, checked whole against the sizes of the unit file and the memory file:
// every text and count within its limit, every clip's bytes within their file, no
// byte left over. Nothing, and `why`, when it does not hold.
std::optional<ReaderAnswer> ParseReaderAnswer(std::span<const uint8_t> bytes, uint64_t unitFileSize,
                                              uint64_t memoryFileSize, std::string* why);

}  // namespace platform
