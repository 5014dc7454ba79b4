// One board per application folder without a session bus: the lock on the folder.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "platform/FolderLock.h"
#include "support/TempFolder.h"

namespace {

using platform::FolderLock;

// One holder, no file in the folder; and a program the board starts (a sound-unit
// reader, say) must not hold it once the board has ended.
TEST(FolderLock, OneHolderAndNotTheProgramsItStarts) {
  TempFolder folder;
  int held[2];
  ASSERT_EQ(::pipe(held), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    FolderLock board(folder.Path());
    if (board.state() != FolderLock::State::Taken) ::_exit(1);
    [[maybe_unused]] ssize_t n = ::write(held[1], "h", 1);
    ::close(held[1]);
    ::sleep(1);  // while the parent looks
    ::execl("/bin/sleep", "sleep", "30", static_cast<char*>(nullptr));
    ::_exit(2);
  }
  ::close(held[1]);
  char byte;
  ASSERT_EQ(::read(held[0], &byte, 1), 1);
  EXPECT_EQ(FolderLock(folder.Path()).state(), FolderLock::State::HeldElsewhere);
  EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
  EXPECT_TRUE(platform::WaitUntilFolderFree(folder.Path(), 10000));
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFSIGNALED(status)) << "the child did not get to sleep";
}

}  // namespace
