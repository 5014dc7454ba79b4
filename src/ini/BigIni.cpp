#include "ini/BigIni.h"

#include <cstring>
#include <exception>

#include "ini/FileContent.h"
#include "ini/FileWriter.h"
#include "ini/IniParser.h"
#include "ini/IniText.h"
#include "rtl/StrToInt.h"

namespace ini {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// A line's key is its text before the first "="; a line without "=" has none.
bool KeyMatches(std::string_view line, std::string_view key) {
  return line.size() > key.size() && line[key.size()] == '=' &&
         SameText(line.substr(0, key.size()), key);
}

std::string_view ValueOf(std::string_view line) {
  const size_t eq = line.find('=');
  return eq == std::string_view::npos ? std::string_view() : Cut(line.substr(eq + 1));
}

}  // namespace

TBigIniFile::TBigIniFile(std::string_view fileName)
    : exceptionsAtStart_(std::uncaught_exceptions()) {
  SetFileName(fileName);
}

TBigIniFile::~TBigIniFile() noexcept(false) {
  if (std::uncaught_exceptions() > exceptionsAtStart_) {
    try {
      Flush();
    } catch (...) {
      // Unwinding already carries an error; a second one would end the program.
    }
  } else {
    Flush();
  }
}

TBigIniFile::Found TBigIniFile::FindSectionAndKey(std::string_view section, std::string_view key,
                                                  bool create) {
  section = Cut(section);
  key = Cut(key);
  const int n = Sections.Count();
  int match = -1;
  if (n > 0) {
    int i = (CurrentSection >= 0 && CurrentSection < n) ? CurrentSection : 0;
    for (int k = 0; k < n; ++k) {
      CurrentSection = i;
      if (SameText(Sections[i], section)) {
        match = i;
        break;
      }
      if (++i == n) i = 0;
    }
  }
  if (match < 0) {
    if (!create) return {nullptr, -1};
    CurrentSection = Sections.Add(section);
    return {&Sections.SectionLines(CurrentSection), -1};
  }
  TLineList& lines = Sections.SectionLines(match);
  // No line's key can hold "=", so such a key never matches.
  if (key.find('=') == std::string_view::npos) {
    for (int l = 0; l < lines.Count(); ++l) {
      if (KeyMatches(lines[l], key)) return {&lines, l};
    }
  }
  return {&lines, -1};
}

std::string TBigIniFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) {
  const Found f = FindSectionAndKey(section, key, false);
  if (f.line < 0) return std::string(Cut(defaultValue));
  return std::string(ValueOf((*f.lines)[f.line]));
}

void TBigIniFile::WriteString(std::string_view section, std::string_view key,
                              std::string_view value) {
  section = Cut(section);
  key = Cut(key);
  value = Cut(value);
  if (key.empty()) {
    if (section.empty() && value.empty()) {
      Flush();
    } else {
      EraseSection(section);
    }
    return;
  }
  std::string line;
  line.reserve(key.size() + 1 + value.size());
  line.append(key).append(1, '=').append(value);
  if (line.size() > kMaxText) line.resize(kMaxText);

  const Found f = FindSectionAndKey(section, key, true);
  if (f.line < 0) {
    f.lines->Add(line);
    Modified = true;
  } else if ((*f.lines)[f.line] != line) {
    f.lines->Put(f.line, line);
    Modified = true;
  }
}

int32_t TBigIniFile::ReadInteger(std::string_view section, std::string_view key,
                                 int32_t defaultValue) {
  std::string text = ReadString(section, key, "");
  if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.replace(0, 2, "$");
  }
  return rtl::TryStrToInt(text).value_or(defaultValue);
}

void TBigIniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

bool TBigIniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TBigIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void TBigIniFile::ReadSection(std::string_view section, TStringList& list) {
  const int i = Sections.IndexOf(Cut(section));
  if (i < 0) return;
  for (std::string_view line : Sections.SectionLines(i)) {
    const size_t eq = line.find('=');
    list.emplace_back(eq == std::string_view::npos ? std::string_view() : line.substr(0, eq));
  }
}

void TBigIniFile::ReadSections(TStringList& list) {
  list.clear();
  list.reserve(Sections.Count());
  for (int i = 0; i < Sections.Count(); ++i) list.emplace_back(Sections[i]);
}

void TBigIniFile::ReadSectionValues(std::string_view section, TStringList& list) {
  const int i = Sections.IndexOf(Cut(section));
  if (i < 0) return;
  for (std::string_view line : Sections.SectionLines(i)) list.emplace_back(line);
}

void TBigIniFile::EraseSection(std::string_view section) {
  const int i = Sections.IndexOf(Cut(section));
  if (i < 0) return;
  Sections.Delete(i);
  Modified = true;
  if (CurrentSection >= Sections.Count()) CurrentSection = 0;
}

void TBigIniFile::DeleteKey(std::string_view section, std::string_view key) {
  const Found f = FindSectionAndKey(section, key, true);
  if (f.line < 0) return;
  f.lines->Delete(f.line);
  Modified = true;
}

void TBigIniFile::ExportLines(TStringList& list) {
  for (int i = 0; i < Sections.Count(); ++i) {
    const TLineList& lines = Sections.SectionLines(i);
    if (lines.Empty()) continue;
    std::string header;
    header.reserve(Sections[i].size() + 2);
    header.append(1, '[').append(Sections[i]).append(1, ']');
    list.push_back(std::move(header));
    for (std::string_view line : lines) list.emplace_back(line);
    list.emplace_back();
  }
}

void TBigIniFile::Flush() {
  if (!Modified) return;
  if (FileName.empty()) {
    Modified = false;
    return;
  }
  TFileWriter out(FileName, IoBufferSize > 0 ? kIoBufferBytes : 0);
  for (int i = 0; i < Sections.Count(); ++i) {
    const TLineList& lines = Sections.SectionLines(i);
    if (lines.Empty()) continue;
    out.Write("[");
    out.Write(Sections[i]);
    out.Write("]\r\n");
    for (std::string_view line : lines) {
      out.Write(line);
      out.Write(kLineEnd);
    }
    out.Write(kLineEnd);
  }
  out.Commit();
  Modified = false;
}

void TBigIniFile::Load(std::string_view name) {
  CurrentSection = 0;
  FileContent content;
  if (!ReadFileContent(std::string(Cut(name)), IoBufferSize > 0, content)) return;
  LoadOptions options;
  options.ignoreCommentLines = IgnoreCommentLines;
  options.keyLinesOnly = KeyLinesOnly;
  options.trimAroundEquals = TrimAroundEquals;
  options.unquoteValues = UnquoteValues;
  options.trimLineEnd = TrimLineEnd;
  ParseContent(std::move(content), options, Sections);
  if (Sections.RemoveDuplicates(OnDuplicateSection)) Modified = true;
}

void TBigIniFile::SetFileName(std::string_view name) {
  Flush();
  ClearSections();
  FileName = Cut(name);
  if (!FileName.empty()) Load(FileName);
  Modified = false;
}

void TBigIniFile::ClearSections() {
  Sections.Clear();
}

}  // namespace ini
