// The watcher that tidies the sound server after the program is killed: it starts the
// cleanup when the program dies, and not when the program ends its microphone itself.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/VirtualMicrophone.h"
#include "platform/linux/sound/MicrophoneWatcher.h"
#include "support/TempFolder.h"

namespace {

class MicrophoneWatcherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Stands in for the program: notes how it was started.
    folder.Write("program", "#!/bin/sh\necho \"$@\" > \"$(dirname \"$0\")/started\"\n");
    ::chmod(folder.File("program").c_str(), 0755);
  }
  bool Started(std::chrono::milliseconds within) {
    const auto end = std::chrono::steady_clock::now() + within;
    while (!folder.Exists("started") && std::chrono::steady_clock::now() < end)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return folder.Exists("started");
  }

  TempFolder folder;
  const std::string appFolder = "/opt/jabber well/";
};

TEST_F(MicrophoneWatcherTest, AProgramThatDiesHasItsCleanupStarted) {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Dies holding the watcher, as a killed program would.
    new platform::MicrophoneWatcher(folder.File("program"), appFolder);
    ::_exit(0);
  }
  ::waitpid(child, nullptr, 0);
  ASSERT_TRUE(Started(std::chrono::seconds(5)));
  EXPECT_EQ(folder.Read("started"),
            std::string(platform::kMicrophoneCleanupOption) + " " + appFolder + "\n");
}

TEST_F(MicrophoneWatcherTest, AProgramThatEndsItsMicrophoneLeavesNothingToDo) {
  {
    platform::MicrophoneWatcher watcher(folder.File("program"), appFolder);
    EXPECT_TRUE(watcher.Watching());
  }
  // The destructor waited for the shell, so anything it started would have begun.
  EXPECT_FALSE(Started(std::chrono::milliseconds(200)));
}

}  // namespace
