#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>

#include "platform/linux/sound/SoundStream.h"

namespace platform {

// The thread that streams asynchronous sounds, so that their callers return at once.
// It holds one waiting request; a newer one replaces it, its ticket having cut the
// older one off anyway.
class SoundStreamer {
 public:
  static SoundStreamer& Instance();

  void Post(SoundRequest request);

  // Returns once no request with a ticket older than `ticket` waits or streams, so
  // that what such a request read from (a module, a memory image) may be released.
  void Drain(uint64_t ticket);

 private:
  SoundStreamer() = default;
  void Run();

  std::mutex mutex_;
  std::condition_variable changed_;
  std::optional<SoundRequest> waiting_;
  uint64_t streaming_ = 0;  // the ticket being streamed; 0: none
  bool running_ = false;
};

}  // namespace platform
