#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ini {

// Calls Visit(line, length) for every line: a carriage return ends a line, and a line
// feed right after it belongs to that line end. The carriage returns of each 64 bytes
// are found together as a bit mask, which beats a search call per short line.
template <class Visit>
void ForEachLine(char* text, size_t size, Visit&& visit) {
  char* start = text;
  char* const end = text + size;
  auto lineEndAt = [&](char* cr) {
    char* next = cr + 1;
    if (next < end && *next == '\n') ++next;
    visit(start, static_cast<size_t>(cr - start));
    start = next;
  };
#if defined(__SSE2__)
  const __m128i crs = _mm_set1_epi8('\r');
  size_t block = 0;
  for (; block + 64 <= size; block += 64) {
    uint64_t mask = 0;
    for (int k = 0; k < 4; ++k) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + block + 16 * k));
      const auto bits = static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, crs)));
      mask |= static_cast<uint64_t>(bits) << (16 * k);
    }
    while (mask != 0) {
      lineEndAt(text + block + __builtin_ctzll(mask));
      mask &= mask - 1;
    }
  }
#endif
  while (start < end) {
    char* cr = static_cast<char*>(std::memchr(start, '\r', static_cast<size_t>(end - start)));
    if (!cr) {
      visit(start, static_cast<size_t>(end - start));
      break;
    }
    lineEndAt(cr);
  }
}

}  // namespace ini
