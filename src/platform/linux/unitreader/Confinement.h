#pragma once

#include <string>

namespace platform {

// Confines the unit reader before it loads a unit: limits on processor time, address
// space, file size (0) and core dumps; no new privileges; with Landlock, no writing,
// creating or running files anywhere; and a seccomp allow-list of the calls the loader
// and a unit's exports need, which ends the process at any other (sockets, exec,
// ptrace, fork, opening a file for writing, signals to others). False, and `why`,
// when the filter cannot be set: then no unit may be loaded.
bool ConfineReader(std::string* why);

}  // namespace platform
