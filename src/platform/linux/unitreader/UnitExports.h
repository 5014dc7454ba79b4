#pragma once

#include "platform/linux/unitreader/ReaderAnswer.h"

namespace platform {

// Loads the unit open on `unitFd` and asks its exports for its strings and clips,
// trusting none of their answers: strings and tables are copied under a guard against
// faults, counts are bounded, and a clip is reported where it lies in the unit file
// when a read-only mapping of that file holds it, or else copied into the memory file
// `memoryFd` (of kMaxMemoryFileBytes). Runs inside the confined reader only.
ReaderAnswer InspectUnit(int unitFd, int memoryFd);

}  // namespace platform
