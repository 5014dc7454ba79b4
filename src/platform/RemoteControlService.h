#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/RemoteCommands.h"

namespace platform {

class RemoteControlObject;

// The board's control service: one object on the session bus, under a name of the
// application folder's own, whose methods hand over to the program's RemoteCommands.
class RemoteControlService {
 public:
  enum class Claim { Claimed, AlreadyRunning, NoBus };

  explicit RemoteControlService(const std::string& appFolder);
  ~RemoteControlService();
  RemoteControlService(const RemoteControlService&) = delete;
  RemoteControlService& operator=(const RemoteControlService&) = delete;

  // Takes the folder's name. AlreadyRunning when another process holds it; NoBus when
  // there is no session bus, and the program runs without control from outside.
  Claim ClaimName();

  // Who answers the calls; until set (and after reset to null) every call is refused
  // as while the menu is shut ("still starting"), List too, but Quit, which runs `quit`
  // once the caller has its answer.
  void SetCommands(RemoteCommands* commands);
  void SetQuitWhileStarting(std::function<void()> quit);

 private:
  std::unique_ptr<RemoteControlObject> object_;
};

}  // namespace platform
