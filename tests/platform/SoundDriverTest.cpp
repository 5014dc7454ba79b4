#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/Observation.h"
#include "platform/SoundOutput.h"
#include "platform/linux/sound/PipeWireServer.h"
#include "support/TempFolder.h"

using namespace platform;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// A socket bound at `path` that takes no connection: a server that has gone away.
class DeadSocket {
 public:
  explicit DeadSocket(const std::string& path) : fd_(::socket(AF_UNIX, SOCK_STREAM, 0)) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    bound_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }
  ~DeadSocket() { ::close(fd_); }
  bool Bound() const { return bound_; }

 private:
  int fd_;
  bool bound_ = false;
};

class SoundDriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"PIPEWIRE_REMOTE", "PIPEWIRE_RUNTIME_DIR"}) ::unsetenv(name);
    ::setenv("XDG_RUNTIME_DIR", folder.Path().c_str(), 1);
  }
  void TearDown() override {
    ShutdownSoundOutput();
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  }
  static bool OpensWithin(Clock::duration limit) {
    const auto end = Clock::now() + limit;
    while (!IsSoundOutputOpen() && Clock::now() < end) std::this_thread::sleep_for(5ms);
    return IsSoundOutputOpen();
  }
  TempFolder folder;
};

TEST_F(SoundDriverTest, APipeWireServerIsFoundByItsSocketWherePipeWireLooks) {
  EXPECT_FALSE(PipeWireServerRunning());
  std::ofstream(folder.File("pipewire-0")) << "not a socket";
  EXPECT_FALSE(PipeWireServerRunning());

  TempFolder other;
  DeadSocket own(other.File("pipewire-0"));
  ASSERT_TRUE(own.Bound());
  ::setenv("PIPEWIRE_RUNTIME_DIR", other.Path().c_str(), 1);  // before XDG_RUNTIME_DIR
  EXPECT_TRUE(PipeWireServerRunning());
  ::setenv("PIPEWIRE_REMOTE", "elsewhere", 1);
  EXPECT_FALSE(PipeWireServerRunning());
  ::setenv("PIPEWIRE_REMOTE", other.File("pipewire-0").c_str(), 1);
  ::unsetenv("PIPEWIRE_RUNTIME_DIR");
  EXPECT_TRUE(PipeWireServerRunning());
  ::unsetenv("XDG_RUNTIME_DIR");
  EXPECT_TRUE(PipeWireServerRunning());  // a full path needs no folder
}

TEST_F(SoundDriverTest, APipeWireServerThatDoesNotAnswerGivesWayToTheOtherDrivers) {
  DeadSocket server(folder.File("pipewire-0"));
  ASSERT_TRUE(server.Bound());
  ::unsetenv("SDL_AUDIODRIVER");
  ::setenv("PULSE_SERVER", "unix:/nonexistent", 1);  // no PulseAudio either
  const auto info = GetSoundOutputInfo();
  ASSERT_TRUE(info);
  EXPECT_NE(info->driver, "pipewire");
  // Reopened after a close, it does not try PipeWire's driver again.
  ShutdownSoundOutput();
  EXPECT_EQ(GetSoundOutputInfo()->driver, info->driver);
}

TEST_F(SoundDriverTest, ADriverTheUserNamesWinsOverThePipeWireServer) {
  DeadSocket server(folder.File("pipewire-0"));
  ASSERT_TRUE(server.Bound());
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  EXPECT_EQ(GetSoundOutputInfo()->driver, "dummy");
}

TEST_F(SoundDriverTest, OpeningAheadReadiesTheDeviceWithoutASoundUntilItIdles) {
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  SetSoundOutputIdleClose(300ms);
  OpenSoundOutputAhead();
  OpenSoundOutputAhead();  // a second menu while the first opening runs
  ASSERT_TRUE(OpensWithin(2s));
  EXPECT_FALSE(IsSoundPlaying());
  // Asked again while open, it stays open for another idle period.
  std::this_thread::sleep_for(200ms);
  OpenSoundOutputAhead();
  std::this_thread::sleep_for(200ms);
  EXPECT_TRUE(IsSoundOutputOpen());
  const auto end = Clock::now() + 2s;
  while (IsSoundOutputOpen() && Clock::now() < end) std::this_thread::sleep_for(5ms);
  EXPECT_FALSE(IsSoundOutputOpen());
  SetSoundOutputIdleClose(10s);
}

std::vector<std::string> Environment() {
  std::vector<std::string> all;
  for (char** entry = environ; *entry; ++entry) all.emplace_back(*entry);
  std::sort(all.begin(), all.end());
  return all;
}

// Threads read the environment while sounds play, so only the start may change it.
TEST_F(SoundDriverTest, TheMixersIconIsSetBeforeAnySoundAndPlayingLeavesTheEnvironmentAlone) {
  ::unsetenv("PULSE_PROP_application.icon_name");
  ::setenv("PIPEWIRE_PROPS", "{ media.role = Game }", 1);
  PrepareSoundOutput();
  EXPECT_STREQ(std::getenv("PULSE_PROP_application.icon_name"), "org.jabberwell.Jabberwell");
  EXPECT_STREQ(std::getenv("PIPEWIRE_PROPS"), "{ media.role = Game }") << "the user's own wins";
  ::unsetenv("PIPEWIRE_PROPS");
  PrepareSoundOutput();
  EXPECT_STREQ(std::getenv("PIPEWIRE_PROPS"),
               "{ application.icon-name = \"org.jabberwell.Jabberwell\" }");

  ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);  // the dummy driver, forced
  const auto before = Environment();
  EXPECT_EQ(PlaySoundA(JBW_TEST_DATA "Pattern.wav", nullptr, SND_FILENAME), 1);
  OpenSoundOutputAhead();
  EXPECT_TRUE(OpensWithin(2s));
  ShutdownSoundOutput();
  EXPECT_EQ(Environment(), before);
}

TEST_F(SoundDriverTest, SdlsDiskDriverIsNotOpenedAhead) {
  ::setenv("SDL_AUDIODRIVER", "disk", 1);
  ::setenv("SDL_DISKAUDIOFILE", folder.File("device.raw").c_str(), 1);
  OpenSoundOutputAhead();
  EXPECT_FALSE(OpensWithin(300ms));
}

}  // namespace
