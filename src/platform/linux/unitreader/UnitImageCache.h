#pragma once

#include <memory>
#include <string>

#include "platform/linux/unitreader/UnitImage.h"

namespace platform {

// The unit at `path` read as data: a packed unit straight from its file, any other
// through the unit reader. The last reading of each file is kept, so a unit is read
// again only when its file changed (device, inode, size or modification time); a unit
// that could not be read is not tried again until then. Nothing, and `why`, when the
// unit cannot be read. Safe on any thread.
std::shared_ptr<const UnitImage> ReadUnitImage(const std::string& path, std::string* why);

}  // namespace platform
