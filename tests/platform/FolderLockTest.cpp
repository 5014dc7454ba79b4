// One board per application folder without a session bus: the lock on the folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "platform/FolderLock.h"
#include "support/TempFolder.h"

using platform::FolderLock;
using State = FolderLock::State;

namespace {

TEST(FolderLock, OneHolderPerFolderUntilItLetsGoAndNoFileInTheFolder) {
  TempFolder folder, other;
  {
    const FolderLock board(folder.Path());
    ASSERT_EQ(board.state(), State::Taken);
    EXPECT_TRUE(platform::FolderLockedElsewhere(folder.Path()));
    EXPECT_EQ(FolderLock(folder.Path()).state(), State::HeldElsewhere);
    // Looking takes nothing: the board still holds it.
    EXPECT_TRUE(platform::FolderLockedElsewhere(folder.Path()));
    EXPECT_EQ(FolderLock(other.Path()).state(), State::Taken);
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
    EXPECT_FALSE(platform::WaitUntilFolderFree(folder.Path(), 50));
  }
  EXPECT_TRUE(platform::WaitUntilFolderFree(folder.Path(), 0));
  EXPECT_FALSE(platform::FolderLockedElsewhere(folder.Path()));
  EXPECT_EQ(FolderLock(folder.Path()).state(), State::Taken);
  EXPECT_EQ(FolderLock(folder.File("gone/")).state(), State::Unavailable);
  EXPECT_FALSE(platform::FolderLockedElsewhere(folder.File("gone/")));
}

// The board keeps it to its very end, past every destructor of its own.
TEST(FolderLock, AKeptLockOutlivesItsObject) {
  TempFolder folder;
  FolderLock(folder.Path()).KeepUntilTheProcessEnds();
  EXPECT_TRUE(platform::FolderLockedElsewhere(folder.Path()));
}

// A program the board starts must not keep the lock after the board has ended.
TEST(FolderLock, AProgramTheBoardStartsDoesNotHoldIt) {
  TempFolder folder;
  int started[2];
  ASSERT_EQ(::pipe2(started, O_CLOEXEC), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const FolderLock board(folder.Path());
    if (board.state() != State::Taken) ::_exit(1);
    ::execl("/bin/sleep", "sleep", "30", static_cast<char*>(nullptr));
    ::_exit(2);
  }
  ::close(started[1]);
  char byte;
  // The pipe closes with the exec.
  EXPECT_EQ(::read(started[0], &byte, 1), 0);
  ::close(started[0]);
  EXPECT_FALSE(platform::FolderLockedElsewhere(folder.Path()));
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFSIGNALED(status)) << "the child could not take the lock or start sleep";
}

}  // namespace
