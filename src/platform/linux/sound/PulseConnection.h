#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/linux/sound/PulseLibrary.h"

namespace platform {

// A connection to the PulseAudio server (PipeWire's or PulseAudio's own) on a thread of
// its own, with the few requests the virtual microphone makes, each waiting for its
// answer. Never starts a server.
class PulseConnection {
 public:
  // Null when no server answers or the library is missing.
  static std::unique_ptr<PulseConnection> Connect(const char* clientName);
  ~PulseConnection();
  PulseConnection(const PulseConnection&) = delete;
  PulseConnection& operator=(const PulseConnection&) = delete;

  bool Alive();
  // The module's index; PA_INVALID_INDEX with the server's reason in `error`.
  uint32_t LoadModule(const char* name, const std::string& arguments, std::string& error);
  void UnloadModule(uint32_t index);
  // The modules whose arguments hold `text`.
  std::vector<uint32_t> ModulesWith(const std::string& text);
  struct Defaults {
    std::string sink, source;
  };
  Defaults DefaultNames();
  // `changed` runs on the connection's thread whenever the server's defaults may have
  // changed; it must not wait for the server.
  void OnServerChange(std::function<void()> changed);

  // The calls on the connection's objects (streams) are made with it held.
  class Lock {
   public:
    explicit Lock(PulseConnection& c) : c_(c) { c_.api_.pa_threaded_mainloop_lock(c_.loop_); }
    ~Lock() { c_.api_.pa_threaded_mainloop_unlock(c_.loop_); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

   private:
    PulseConnection& c_;
  };
  pa_context* Context() { return context_; }
  const PulseLibrary& Api() { return api_; }

 private:
  explicit PulseConnection(const PulseLibrary& api) : api_(api) {}
  // Lock held: waits until the operation has finished or the connection is gone.
  void Finish(pa_operation* operation);
  static void Wake(void* self);

  const PulseLibrary& api_;
  pa_threaded_mainloop* loop_ = nullptr;
  pa_context* context_ = nullptr;
  std::function<void()> serverChanged_;
};

}  // namespace platform
