#pragma once

#include <sys/types.h>
#include <string>

namespace platform {

// A small shell, in a session of its own, that waits on a socket from this process. The
// sound server keeps the modules a client loaded after the client has gone, so when the
// socket closes without the word that all is tidy (the process was killed), the shell
// starts `program` (this program's file) with kMicrophoneCleanupOption and `appFolder`
// to remove them.
class MicrophoneWatcher {
 public:
  MicrophoneWatcher(const std::string& program, const std::string& appFolder);
  // Tells the shell that nothing is left and waits for it to end.
  ~MicrophoneWatcher();
  MicrophoneWatcher(const MicrophoneWatcher&) = delete;
  MicrophoneWatcher& operator=(const MicrophoneWatcher&) = delete;

  bool Watching() const { return pid_ > 0; }

 private:
  int socket_ = -1;
  pid_t pid_ = -1;
};

}  // namespace platform
