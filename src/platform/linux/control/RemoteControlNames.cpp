#include "platform/RemoteControlNames.h"

#include <cstdint>
#include <cstdio>

namespace platform {

std::string RemoteControlServiceName(const std::string& appFolder) {
  // FNV-1a: a stable digest, since a folder path may hold characters a bus name may not.
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : appFolder) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  char digest[17];
  std::snprintf(digest, sizeof digest, "%016llx", static_cast<unsigned long long>(hash));
  // A name element must not start with a digit.
  return std::string("org.jabberwell.Board.f") + digest;
}

}  // namespace platform
