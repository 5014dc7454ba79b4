#include "ini/IniParser.h"

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "ini/IniText.h"
#include "ini/LineSplit.h"

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

}  // namespace

void ParseContent(FileContent content, const LoadOptions& options, TSectionList& sections) {
  char* const text = content.text.get();
  size_t size = content.size;
  if (const void* eof = std::memchr(text, kEndOfFile, size)) {
    size = static_cast<size_t>(static_cast<const char*>(eof) - text);
  }
  const bool filtering = options.trimAroundEquals || options.unquoteValues || options.trimLineEnd ||
                         options.keyLinesOnly;

  // Headers and lines go to one array, which the line lists then borrow from, so it must
  // never move: there are no more entries than line ends plus one. Each header is noted,
  // so that the sections are made once their number is known.
  std::vector<TLineList::Entry, LargeAllocator<TLineList::Entry>> lines;
  lines.reserve(content.lineEnds + 1);
  std::vector<uint32_t> headers;
  ForEachLine(text, size, [&](char* line, size_t n) {
    if (n > kMaxText) n = kMaxText;
    if (n == 0) return;
    if (options.ignoreCommentLines && line[0] == ';') return;
    if (line[0] == '[' && line[n - 1] == ']') {
      headers.push_back(static_cast<uint32_t>(lines.size()));
      lines.push_back({line + 1, static_cast<uint32_t>(n - 2), false});
      return;
    }
    if (headers.empty()) return;
    if (filtering && !Filter(line, n, options)) return;
    lines.push_back({line, static_cast<uint32_t>(n), false});
  });

  sections.Reserve(static_cast<size_t>(sections.Count()) + headers.size());
  for (size_t h = 0; h < headers.size(); ++h) {
    const uint32_t at = headers[h];
    const uint32_t next =
        h + 1 < headers.size() ? headers[h + 1] : static_cast<uint32_t>(lines.size());
    const int section = sections.AddBorrowed({lines[at].text, lines[at].size});
    if (next > at + 1) sections.SectionLines(section).AdoptBorrowed(&lines[at + 1], next - at - 1);
  }
  sections.Keep({std::move(content.text), std::move(lines)});
}

}  // namespace ini
