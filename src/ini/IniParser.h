#pragma once

#include "ini/FileContent.h"
#include "ini/SectionList.h"

namespace ini {

// Line filters applied while loading; all off unless the caller switches them on.
struct LoadOptions {
  bool ignoreCommentLines = false;
  bool keyLinesOnly = false;
  bool trimAroundEquals = false;
  bool unquoteValues = false;
  bool trimLineEnd = false;
};

// Appends the sections of an INI text to Sections. A carriage return ends a line (with
// a line feed right after it), character 26 ends the text, a line counts with its first
// 255 characters, empty lines and lines before the first header are dropped. Duplicate
// names are left for TSectionList::RemoveDuplicates. The content is kept by Sections;
// its lineEnds must count the carriage returns of its text.
void ParseContent(FileContent content, const LoadOptions& options, TSectionList& sections);

}  // namespace ini
