#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <string>

namespace platform {

// Reads little-endian numbers and length-prefixed texts from bytes nobody vouches for:
// every read checks what is left, and a failed read leaves the reader failed.
class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  bool Take(void* out, size_t size) {
    if (!ok_ || size > Left()) return ok_ = false;
    std::memcpy(out, bytes_.data() + pos_, size);
    pos_ += size;
    return true;
  }
  bool U8(uint8_t& v) { return Take(&v, 1); }
  bool U32(uint32_t& v) { return Take(&v, 4); }
  bool U64(uint64_t& v) { return Take(&v, 8); }
  // A u32 length, then that many bytes; longer than `limit` fails.
  bool Text(std::string& s, uint32_t limit) {
    uint32_t length = 0;
    if (!U32(length) || length > limit || length > Left()) return ok_ = false;
    s.assign(reinterpret_cast<const char*>(bytes_.data() + pos_), length);
    pos_ += length;
    return true;
  }
  bool Skip(uint64_t size) {
    if (!ok_ || size > Left()) return ok_ = false;
    pos_ += static_cast<size_t>(size);
    return true;
  }

  size_t Position() const { return pos_; }
  size_t Left() const { return bytes_.size() - pos_; }

 private:
  std::span<const uint8_t> bytes_;
  size_t pos_ = 0;
  bool ok_ = true;
};

}  // namespace platform
