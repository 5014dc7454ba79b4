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

  // Returns once no request with a ticket older than `ticket` waits, or streams from
  // memory its caller owns (a module, a memory image), which may then be released. A
  // file is left to notice between two pieces that it was cut off.
  void Release(uint64_t ticket);
  // As Release, but waits for files as well: nothing streams once it returns.
  void Drain(uint64_t ticket);

 private:
  SoundStreamer() = default;
  void Run();
  void WaitFor(uint64_t ticket, bool files);

  std::mutex mutex_;
  std::condition_variable changed_;
  std::optional<SoundRequest> waiting_;
  uint64_t streaming_ = 0;  // the ticket being streamed; 0: none
  bool streamingBorrows_ = false;
  bool running_ = false;
};

}  // namespace platform
