#pragma once

#include <functional>
#include <string>
#include <vector>

namespace platform {

// The board's answer to a call from outside: refused with an error name (see
// RemoteControlNames.h) and a message, or accepted with the action that carries it out.
// The action runs once the caller has its answer, under the default error handler; a
// call whose outcome the caller must learn (a save) does its work before it answers and
// accepts with no action.
struct RemoteAnswer {
  std::string errorName;
  std::string message;
  std::function<void()> action;

  static RemoteAnswer Refused(const char* errorName, std::string message) {
    return {errorName, std::move(message), {}};
  }
  static RemoteAnswer Accepted(std::function<void()> action) { return {{}, {}, std::move(action)}; }
  static RemoteAnswer Done() { return {}; }
};

// What the program offers to callers of its control service. Calls arrive on the GUI
// thread.
class RemoteCommands {
 public:
  virtual ~RemoteCommands() = default;

  // `entry` is "<menu caption>/<entry caption>".
  virtual RemoteAnswer Play(const std::string& entry) = 0;
  virtual RemoteAnswer PlayRandom() = 0;
  virtual RemoteAnswer Stop() = 0;
  // One of the timer's mode words.
  virtual RemoteAnswer SetTimer(const std::string& mode) = 0;
  virtual RemoteAnswer ShowMenu() = 0;
  // Every entry Play accepts.
  virtual std::vector<std::string> List() = 0;
  virtual RemoteAnswer Quit() = 0;
  // The sound output device by name; empty for the default one.
  virtual RemoteAnswer SetOutputDevice(const std::string& name) = 0;
  // The virtual microphone, and whether it carries the user's own microphone too.
  virtual RemoteAnswer SetMicrophone(bool on) = 0;
  virtual RemoteAnswer SetMicPassthrough(bool on) = 0;
};

}  // namespace platform
