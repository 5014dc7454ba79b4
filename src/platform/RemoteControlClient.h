#pragma once

#include <string>
#include <vector>

namespace platform {

// Long enough for a board busy loading its units; the answer itself comes at once.
inline constexpr int kRemoteCallTimeoutMs = 10000;

// The outcome of one call to a running board's control service.
struct RemoteCallResult {
  // NoAnswer: the call timed out; Ended: the board ended before it answered.
  enum class Status { Done, NoBus, NotRunning, Refused, NoAnswer, Ended };
  Status status = Status::Done;
  std::string errorName;  // when refused: a name from RemoteControlNames.h, or D-Bus's own
  std::string message;
  std::vector<std::string> entries;  // what List returned
};

// Calls `method` of the board started from `appFolder`, waiting for its answer up to
// kRemoteCallTimeoutMs. Needs the session bus only, no display. Call after the Qt core
// application exists.
RemoteCallResult CallRemoteControl(const std::string& appFolder, const char* method,
                                   const std::vector<std::string>& arguments);
// The same for a method that takes one Boolean.
RemoteCallResult CallRemoteControlSwitch(const std::string& appFolder, const char* method,
                                         bool argument);

}  // namespace platform
