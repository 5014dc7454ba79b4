#include "ini/IniParser.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <string_view>
#include <vector>

#include "ini/IniText.h"

namespace ini {

namespace {

constexpr char kEndOfFile = 26;

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

void EraseAt(char* line, size_t& size, size_t at) {
  std::memmove(line + at, line + at + 1, size - at - 1);
  --size;
}

size_t FindEquals(const char* line, size_t size) {
  const void* eq = std::memchr(line, '=', size);
  return eq ? static_cast<size_t>(static_cast<const char*>(eq) - line) : std::string_view::npos;
}

// Applies the value-line filters in place; false drops the line.
bool Filter(char* line, size_t& size, const LoadOptions& options) {
  if (options.trimAroundEquals) {
    size_t eq = FindEquals(line, size);
    if (eq != std::string_view::npos) {
      while (eq > 0 && IsBlank(line[eq - 1])) EraseAt(line, size, --eq);
      if (eq > 0) {
        while (eq + 1 < size && IsBlank(line[eq + 1])) EraseAt(line, size, eq + 1);
      }
    }
  }
  if (options.unquoteValues) {
    const size_t eq = FindEquals(line, size);
    if (eq != std::string_view::npos && eq > 0 && size - eq - 1 >= 2) {
      const char quote = line[eq + 1];
      if ((quote == '"' || quote == '\'') && line[size - 1] == quote) {
        --size;
        EraseAt(line, size, eq + 1);
      }
    }
  }
  if (options.trimLineEnd) {
    while (size > 0 && static_cast<unsigned char>(line[size - 1]) < 33) --size;
  }
  if (options.keyLinesOnly && FindEquals(line, size) == std::string_view::npos) return false;
  return true;
}

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

}  // namespace

void ParseContent(FileContent content, const LoadOptions& options, TSectionList& sections) {
  char* const text = content.text.get();
  size_t size = content.size;
  if (const void* eof = std::memchr(text, kEndOfFile, size)) {
    size = static_cast<size_t>(static_cast<const char*>(eof) - text);
  }
  const bool filtering = options.trimAroundEquals || options.unquoteValues || options.trimLineEnd ||
                         options.keyLinesOnly;

  // Lines are borrowed straight from this array while it fills, so it must never move:
  // there are no more lines than line ends plus one. Sections are far fewer than lines
  // and grow as they come.
  std::vector<TLineList::Entry, LargeAllocator<TLineList::Entry>> lines;
  lines.reserve(content.lineEnds + 1);
  int current = -1;
  size_t first = 0;
  auto close = [&] {
    if (current >= 0 && lines.size() > first) {
      sections.SectionLines(current).AdoptBorrowed(lines.data() + first,
                                                   static_cast<uint32_t>(lines.size() - first));
    }
  };

  ForEachLine(text, size, [&](char* line, size_t n) {
    if (n > kMaxText) n = kMaxText;
    if (n == 0) return;
    if (options.ignoreCommentLines && line[0] == ';') return;
    if (line[0] == '[' && line[n - 1] == ']') {
      close();
      current = sections.AddBorrowed(std::string_view(line + 1, n - 2));
      first = lines.size();
      return;
    }
    if (current < 0) return;
    if (filtering && !Filter(line, n, options)) return;
    lines.push_back({line, static_cast<uint32_t>(n), false});
  });
  close();
  sections.Keep({std::move(content.text), std::move(lines)});
}

}  // namespace ini
