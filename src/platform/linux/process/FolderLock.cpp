#include "platform/FolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

namespace platform {

namespace {

int OpenFolder(const std::string& folder) {
  return ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

}  // namespace

FolderLock::FolderLock(const std::string& folder) : fd_(OpenFolder(folder)) {
  if (fd_ < 0) return;
  // A look by FolderLockedElsewhere holds the lock for a moment; a board that runs holds
  // it for good. So a refusal counts only once it has lasted.
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
      state_ = State::Taken;
      return;
    }
    state_ = errno == EWOULDBLOCK ? State::HeldElsewhere : State::Unavailable;
    if (state_ == State::Unavailable) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ::close(fd_);
  fd_ = -1;
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);
}

bool WaitUntilFolderFree(const std::string& folder, int timeoutMs) {
  constexpr int kStepMs = 20;
  for (int waited = 0; FolderLockedElsewhere(folder); waited += kStepMs) {
    if (waited >= timeoutMs) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(kStepMs));
  }
  return true;
}

bool FolderLockedElsewhere(const std::string& folder) {
  const int fd = OpenFolder(folder);
  if (fd < 0) return false;
  const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);
  return held;
}

}  // namespace platform
