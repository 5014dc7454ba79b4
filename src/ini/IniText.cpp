#include "ini/IniText.h"

#include <cctype>

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

uint64_t HashText(std::string_view text) {
  // FNV-1a over the folded bytes.
  uint64_t h = 14695981039346656037ull;
  for (char c : text) {
    h ^= FoldByte(static_cast<unsigned char>(c));
    h *= 1099511628211ull;
  }
  // Spread the bits, so that the low ones alone make a good table index.
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdull;
  h ^= h >> 33;
  return h;
}

}  // namespace ini
