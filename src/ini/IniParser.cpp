#include "ini/IniParser.h"

#include <cstring>
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

struct Header {
  std::string_view name;
  uint32_t firstLine;
};

}  // namespace

void ParseContent(FileContent content, const LoadOptions& options, TSectionList& sections) {
  char* const text = content.text.get();
  size_t size = content.size;
  if (const void* eof = std::memchr(text, kEndOfFile, size)) {
    size = static_cast<size_t>(static_cast<const char*>(eof) - text);
  }
  const bool filtering = options.trimAroundEquals || options.unquoteValues || options.trimLineEnd ||
                         options.keyLinesOnly;

  std::vector<TLineList::Entry> lines;
  std::vector<Header> headers;
  lines.reserve(size / 32 + 4);
  headers.reserve(size / 128 + 4);

  char* p = text;
  char* const end = text + size;
  while (p < end) {
    char* cr = static_cast<char*>(std::memchr(p, '\r', static_cast<size_t>(end - p)));
    char* lineEnd = cr ? cr : end;
    char* next = cr ? cr + 1 : end;
    if (next < end && *next == '\n') ++next;
    size_t n = static_cast<size_t>(lineEnd - p);
    if (n > kMaxText) n = kMaxText;
    char* line = p;
    p = next;

    if (n == 0) continue;
    if (options.ignoreCommentLines && line[0] == ';') continue;
    if (line[0] == '[' && line[n - 1] == ']') {
      headers.push_back({std::string_view(line + 1, n - 2), static_cast<uint32_t>(lines.size())});
      continue;
    }
    if (headers.empty()) continue;
    if (filtering && !Filter(line, n, options)) continue;
    lines.push_back({line, static_cast<uint32_t>(n), false});
  }

  sections.Reserve(static_cast<size_t>(sections.Count()) + headers.size());
  TLineList::Entry* base = lines.data();
  for (size_t h = 0; h < headers.size(); ++h) {
    const uint32_t first = headers[h].firstLine;
    const uint32_t last =
        h + 1 < headers.size() ? headers[h + 1].firstLine : static_cast<uint32_t>(lines.size());
    const int i = sections.Add(headers[h].name);
    if (last > first) sections.SectionLines(i).AdoptBorrowed(base + first, last - first);
  }
  sections.Keep({std::move(content.text), std::move(lines)});
}

}  // namespace ini
