// libFuzzer target: arbitrary bytes as an INI file, loaded, written and loaded again.
// Built with JBW_INI_FUZZ_IN_MEMORY, the text is parsed straight from memory and the
// written text is rebuilt from ExportLines: no file system calls, several times the
// executions per second for long runs. The file round trip is the default build's job.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ini/BigIni.h"
#include "ini/IniParser.h"
#include "ini/IniText.h"

namespace {

using Lines = std::vector<std::string>;

[[noreturn]] void Broken(const char* what) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

const std::string& Folder() {
  static const std::string folder = [] {
    char pattern[64];
    const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::snprintf(pattern, sizeof pattern, "%s/jbw-fuzz-XXXXXX", base);
    if (!mkdtemp(pattern)) std::abort();
    return std::string(pattern);
  }();
  return folder;
}

Lines Export(ini::TBigIniFile& file) {
  Lines lines;
  file.ExportLines(lines);
  return lines;
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every key reads as the value of the first line that carries it.
void CheckReads(ini::TBigIniFile& file) {
  for (int s = 0; s < file.Sections.Count() && s < 20; ++s) {
    const std::string name(file.Sections[s]);
    const Lines lines = file.Sections.SectionLines(s).ToStrings();
    for (size_t i = 0; i < lines.size() && i < 20; ++i) {
      const size_t eq = lines[i].find('=');
      if (eq == std::string::npos) continue;
      const std::string key = lines[i].substr(0, eq);
      size_t first = 0;
      while (!(lines[first].size() > key.size() && lines[first][key.size()] == '=' &&
               ini::SameText(lines[first].substr(0, key.size()), key))) {
        ++first;
      }
      const std::string want = lines[first].substr(key.size() + 1);
      if (file.ReadString(name, key, "\x01") != want) Broken("ReadString");
    }
  }
}

std::string Joined(const Lines& lines) {
  std::string joined;
  for (const std::string& line : lines) joined += line + "\r\n";
  return joined;
}

// Checks a freshly loaded file; returns the names of its sections that hold lines,
// the ones a reload of its written form keeps.
Lines CheckLoaded(ini::TBigIniFile& file, const Lines& exported) {
  for (const std::string& line : exported) {
    if (line.size() > ini::kMaxText) Broken("line longer than 255");
  }
  CheckReads(file);
  Lines withLines;
  for (int s = 0; s < file.Sections.Count(); ++s) {
    if (!file.Sections.SectionLines(s).Empty()) withLines.emplace_back(file.Sections[s]);
  }
  return withLines;
}

// The first byte picks the load options, so that they get explored as well.
void SetLoadOptions(ini::TBigIniFile& file, uint8_t flags) {
  file.IgnoreCommentLines = flags & 1;
  file.KeyLinesOnly = flags & 2;
  file.TrimAroundEquals = flags & 4;
  file.UnquoteValues = flags & 8;
  file.TrimLineEnd = flags & 16;
}

#ifdef JBW_INI_FUZZ_IN_MEMORY
// What Load does after reading the file, with a buffer exactly as long as the text
// (plus the byte the parser may use) so that AddressSanitizer sees any overrun.
void LoadBytes(ini::TBigIniFile& file, const char* data, size_t size) {
  ini::FileContent content;
  content.text = ini::LargeBuffer(size + 1);
  if (size > 0) std::memcpy(content.text.get(), data, size);
  content.size = size;
  content.lineEnds = ini::CountLineEnds(content.text.get(), size);
  ini::LoadOptions options;
  options.ignoreCommentLines = file.IgnoreCommentLines;
  options.keyLinesOnly = file.KeyLinesOnly;
  options.trimAroundEquals = file.TrimAroundEquals;
  options.unquoteValues = file.UnquoteValues;
  options.trimLineEnd = file.TrimLineEnd;
  ini::ParseContent(std::move(content), options, file.Sections);
  if (file.Sections.RemoveDuplicates(file.OnDuplicateSection)) file.Modified = true;
}

int InMemory(const uint8_t* data, size_t size) {
  const uint8_t flags = size > 0 ? data[0] : 0;
  const bool plain = (flags & 0x80) == 0 || (flags & 0x1f) == 0;
  ini::TBiggerIniFile first("");
  if (!plain) SetLoadOptions(first, flags);
  LoadBytes(first, reinterpret_cast<const char*>(data), size);
  const Lines exported = Export(first);
  const Lines withLines = CheckLoaded(first, exported);

  const std::string saved = Joined(exported);
  ini::TBiggerIniFile second("");
  LoadBytes(second, saved.data(), saved.size());
  Lines names;
  second.ReadSections(names);
  const Lines reexported = Export(second);
  if (plain) {
    if (reexported != exported) Broken("reload exports differently");
    if (names != withLines) Broken("reload has other sections");
  }
  const std::string again = Joined(reexported);
  ini::TBiggerIniFile third("");
  LoadBytes(third, again.data(), again.size());
  if (Export(third) != reexported) Broken("second round differs");
  return 0;
}
#endif

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
#ifdef JBW_INI_FUZZ_IN_MEMORY
  return InMemory(data, size);
#endif
  const std::string source = Folder() + "/in.ini";
  const std::string saved = Folder() + "/out.ini";
  {
    std::ofstream out(source, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  const uint8_t flags = size > 0 ? data[0] : 0;
  const bool plain = (flags & 0x80) == 0 || (flags & 0x1f) == 0;

  ini::TBiggerIniFile first("");
  if (!plain) SetLoadOptions(first, flags);
  first.SetFileName(source);
  const Lines exported = Export(first);
  const Lines withLines = CheckLoaded(first, exported);

  first.FileName = saved;
  first.Modified = true;
  first.Flush();
  if (Slurp(saved) != Joined(exported)) Broken("written file differs from ExportLines");

  ini::TBiggerIniFile second(saved);
  Lines names;
  second.ReadSections(names);
  const Lines reexported = Export(second);
  if (plain) {
    if (reexported != exported) Broken("reload exports differently");
    if (names != withLines) Broken("reload has other sections");
  }
  // Written once, the text is stable whatever options made it.
  second.Modified = true;
  second.Flush();
  ini::TBiggerIniFile third(saved);
  if (Export(third) != reexported) Broken("second round differs");
  first.FileName.clear();
  return 0;
}
