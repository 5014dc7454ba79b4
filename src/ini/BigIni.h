#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ini/LineList.h"
#include "ini/SectionList.h"

namespace ini {

using TStringList = std::vector<std::string>;

// An INI file held wholly in memory: loaded once when the object gets its file name,
// served from memory, written back on Flush or destruction when something changed.
//
// Text is 8-bit and passes through unchanged. Section names and keys compare ignoring
// letter case as FoldByte (IniText.h) defines it: ASCII letters always, other bytes by the
// C library's current locale. Every name, key, value and file name is cut to 255
// characters where it enters, and so is every line read or built.
//
// Every input/output failure raises rtl::EInOutError; a file that does not exist loads as
// an empty object. Saving replaces the file only once the new content is safely on disk.
class TBigIniFile {
 public:
  explicit TBigIniFile(std::string_view fileName);
  TBigIniFile(const TBigIniFile&) = delete;
  TBigIniFile& operator=(const TBigIniFile&) = delete;
  // Writes the file back if it was modified; a failure raises, unless the object is being
  // destroyed while another exception is on its way, which then wins.
  virtual ~TBigIniFile() noexcept(false);

  virtual std::string ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue);
  virtual void WriteString(std::string_view section, std::string_view key, std::string_view value);
  virtual int32_t ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue);
  virtual void WriteInteger(std::string_view section, std::string_view key, int32_t value);
  virtual bool ReadBool(std::string_view section, std::string_view key, bool defaultValue);
  virtual void WriteBool(std::string_view section, std::string_view key, bool value);
  // Appends the keys of the section's lines ("" for a line without "=").
  virtual void ReadSection(std::string_view section, TStringList& list);
  // Replaces the list by every section name, in order.
  virtual void ReadSections(TStringList& list);
  // Appends the section's lines as stored.
  virtual void ReadSectionValues(std::string_view section, TStringList& list);
  virtual void EraseSection(std::string_view section);
  virtual void DeleteKey(std::string_view section, std::string_view key);
  // Appends the content as the file would hold it, one entry per line.
  virtual void ExportLines(TStringList& list);
  virtual void Flush();
  // Appends the sections of the named file; a missing file adds nothing.
  virtual void Load(std::string_view name);

  // Writes back the current file if modified, then switches to (and loads) another one.
  void SetFileName(std::string_view name);
  void ClearSections();

  struct Found {
    TLineList* lines;  // nullptr when there is no such section
    int32_t line;      // -1 when the section has no line with that key
  };
  // Finds the section (searching on from CurrentSection) and the key's first line in it;
  // with Create, a missing section is appended.
  Found FindSectionAndKey(std::string_view section, std::string_view key, bool create);

  std::string FileName;
  bool Modified = false;
  TSectionList Sections;
  int32_t CurrentSection = 0;
  TDuplicateSectionEvent OnDuplicateSection;
  // Any positive value sends input and output through a buffer of kIoBufferBytes.
  int32_t IoBufferSize = 0x7000;

  bool IgnoreCommentLines = false;
  bool KeyLinesOnly = false;
  bool TrimAroundEquals = false;
  bool UnquoteValues = false;
  bool TrimLineEnd = false;

 private:
  int exceptionsAtStart_;
};

// The class every settings file is opened as.
class TBiggerIniFile : public TBigIniFile {
 public:
  using TBigIniFile::TBigIniFile;
};

}  // namespace ini
