#pragma once

#include <string>

namespace platform {

// One board per application folder, also without a session bus: an advisory lock on the
// folder itself, so it adds no file there and covers every program file in the folder
// (an upgrade renames a new one over the file a running board was started from). The
// lock goes with the process, however it ends.
class FolderLock {
 public:
  enum class State { Taken, HeldElsewhere, Unavailable };

  explicit FolderLock(const std::string& folder);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  // Unavailable where the folder cannot be opened or its file system takes no such lock;
  // the board then runs without this rule.
  State state() const { return state_; }

  // Leaves the lock to the process's very end, when the system lets it go: a process
  // that holds it has not ended yet.
  void KeepUntilTheProcessEnds() { fd_ = -1; }

 private:
  int fd_ = -1;
  State state_ = State::Unavailable;
};

// Whether another process holds the lock of `folder`: a board runs from there.
bool FolderLockedElsewhere(const std::string& folder);

// Waits until no other process holds the lock of `folder`, at most `timeoutMs`; false
// when it is still held then.
bool WaitUntilFolderFree(const std::string& folder, int timeoutMs);

}  // namespace platform
