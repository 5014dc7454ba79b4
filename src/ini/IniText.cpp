#include "ini/IniText.h"

#include <cctype>
#include <cstring>

namespace ini {

unsigned char FoldHighByte(unsigned char c) {
  return static_cast<unsigned char>(std::toupper(c));
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (x != y && FoldByte(x) != FoldByte(y)) return false;
  }
  return true;
}

int CompareText(std::string_view a, std::string_view b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (x == y) continue;
    const unsigned char fx = FoldByte(x), fy = FoldByte(y);
    if (fx != fy) return fx < fy ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

namespace {

constexpr uint64_t kHigh = 0x8080808080808080ull;
constexpr uint64_t kOnes = 0x0101010101010101ull;

// Folds eight bytes at once: ASCII letters by arithmetic, other bytes one by one.
uint64_t FoldWord(uint64_t w) {
  if (w & kHigh) {
    unsigned char b[8];
    std::memcpy(b, &w, 8);
    for (unsigned char& c : b) c = FoldByte(c);
    std::memcpy(&w, b, 8);
    return w;
  }
  const uint64_t atLeastA = w + kOnes * (0x80 - 'a');
  const uint64_t beyondZ = w + kOnes * (0x80 - 'z' - 1);
  const uint64_t lower = atLeastA & ~beyondZ & kHigh;
  return w - (lower >> 2);
}

}  // namespace

uint64_t HashText(std::string_view text) {
  uint64_t h = text.size() * 0x9e3779b97f4a7c15ull;
  size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    uint64_t w;
    std::memcpy(&w, text.data() + i, 8);
    h = (h ^ FoldWord(w)) * 0xbf58476d1ce4e5b9ull;
    h ^= h >> 31;
  }
  if (i < text.size()) {
    uint64_t w = 0;
    for (size_t k = 0; i + k < text.size(); ++k) {
      w |= static_cast<uint64_t>(static_cast<unsigned char>(text[i + k])) << (8 * k);
    }
    h = (h ^ FoldWord(w)) * 0xbf58476d1ce4e5b9ull;
    h ^= h >> 31;
  }
  // Spread the bits, so that the low ones alone make a good table index.
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdull;
  h ^= h >> 33;
  return h;
}

}  // namespace ini
