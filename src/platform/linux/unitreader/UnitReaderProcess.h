#pragma once

#include <optional>
#include <string>

#include "platform/linux/unitreader/ReaderAnswer.h"

namespace platform {

// The unit reader's answer about one unit, and the memory file it copied clips into
// (sealed, -1 when unused), owned by the caller.
struct ReaderResult {
  ReaderAnswer answer;
  int memoryFile = -1;
};

// Runs jbw-unit-reader on the open unit file `unitFd` of `unitFileSize` bytes: with an
// empty environment and only /dev/null, the unit, a memory file and its answer pipe,
// killed when it takes longer than a few seconds. Nothing, and `why`, when it crashed,
// hung, refused to read the unit or answered anything that does not check out.
std::optional<ReaderResult> AskUnitReader(int unitFd, uint64_t unitFileSize, std::string* why);

}  // namespace platform
