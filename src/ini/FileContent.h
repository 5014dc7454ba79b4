#pragma once

#include <cstddef>
#include <string>

#include "ini/LargeMemory.h"

namespace ini {

// Size of the buffer that file input and output go through.
inline constexpr size_t kIoBufferBytes = 0x7000;

// A whole file's bytes, with room for one more byte after them.
struct FileContent {
  LargeBuffer text;
  size_t size = 0;
  size_t lineEnds = 0;  // carriage returns in the text
};

// Counts the carriage returns of a text.
size_t CountLineEnds(const char* text, size_t size);

// Reads the whole file. Returns false when no file of that name exists; raises
// rtl::EInOutError when it exists but cannot be opened or read. With Buffered the
// reads go in pieces of kIoBufferBytes, otherwise in one piece.
bool ReadFileContent(const std::string& name, bool buffered, FileContent& out);

}  // namespace ini
