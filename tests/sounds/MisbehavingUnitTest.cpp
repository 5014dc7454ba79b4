#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "CatalogueFixture.h"
#include "platform/DynamicModule.h"

namespace {

std::string Bad(const std::string& name) {
  return std::string(JBW_MISBEHAVING_DIR) + "/" + name + ".BSU";
}
std::string Trace(const char* name) {
  return std::string(JBW_MISBEHAVING_DIR) + "/traces/" + name;
}

// The abstract local socket the connecting unit reaches for.
class Listener {
 public:
  Listener() : fd_(socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0)) {
    const char name[] = "jbw-test-unit-listener";
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name, sizeof name - 1);
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + sizeof name);
    listening_ =
        bind(fd_, reinterpret_cast<sockaddr*>(&address), length) == 0 && listen(fd_, 8) == 0;
  }
  ~Listener() { close(fd_); }
  bool Listening() const { return listening_; }
  bool Reached() const {
    const int client = accept(fd_, nullptr, nullptr);
    if (client >= 0) close(client);
    return client >= 0;
  }

 private:
  int fd_;
  bool listening_ = false;
};

bool Plays(const std::string& unitPath, const char* clip) {
  platform::HMODULE unit =
      platform::LoadLibraryExA(unitPath.c_str(), nullptr, platform::LOAD_LIBRARY_AS_DATAFILE);
  const bool played =
      platform::PlaySoundA(clip, unit, platform::SND_RESOURCE | platform::SND_NODEFAULT) != 0;
  if (unit) platform::FreeLibrary(unit);
  return played;
}

struct BadCase {
  const char* name;
  bool listed;     // its menu shows (its misbehaviour is only in what it points to)
  bool clipsPlay;  // its own clips play
};

class MisbehavingUnit : public CatalogueFixture, public ::testing::WithParamInterface<BadCase> {};

// Between two good units, a misbehaving one costs at most its own menu: the board
// lists the good units and plays their clips, and whatever the unit tried to write,
// start or reach did not happen. A second rebuild behaves the same.
TEST_P(MisbehavingUnit, CostsAtMostItsOwnMenuAndReachesNothing) {
  const BadCase& bad = GetParam();
  std::filesystem::remove(Trace("written"));
  std::filesystem::remove(Trace("started"));
  // Only the connecting unit's case listens: the name is one for all test processes.
  std::optional<Listener> listener;
  if (std::string(bad.name) == "Connects") {
    ASSERT_TRUE(listener.emplace().Listening());
  }
  WriteUnits({PLAY_UNIT_1, Bad(bad.name), PLAY_UNIT_2});

  for (int round = 0; round < 2; ++round) {
    ::testing::internal::CaptureStderr();
    catalogue_->ReadSettings(nullptr);
    const std::string said = ::testing::internal::GetCapturedStderr();
    std::vector<std::string> menus;
    for (int i = 6; i < TopLevelCount(); ++i) menus.push_back(TopLevel(i)->Caption());
    std::vector<std::string> expected{"Play One", "Play Two"};
    if (bad.listed) expected.insert(expected.begin() + 1, "Misbehaving Unit");
    EXPECT_EQ(menus, expected) << round;
    EXPECT_EQ(said.find(Bad(bad.name)) != std::string::npos, !bad.listed) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), bad.listed ? 0 : 1) << said;
  }

  // Every entry goes through the play threads as a click would (a few of a liar's).
  const int entries = std::min<int>(static_cast<int>(state_.soundList.size()), 12);
  for (int k = 1; k < entries; ++k) catalogue_->PlaySoundPicked(k);
  platform::PlaySoundA(nullptr, nullptr, 0);
  for (int i = 0; i < 500 && sounds::TPlaySoundThread::Alive() > 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(sounds::TPlaySoundThread::Alive(), 0);

  EXPECT_TRUE(Plays(PLAY_UNIT_1, "P1C"));
  EXPECT_TRUE(Plays(PLAY_UNIT_2, "p2a"));
  EXPECT_EQ(Plays(Bad(bad.name), "Bad1"), bad.clipsPlay);
  EXPECT_FALSE(std::filesystem::exists(Trace("written")));
  EXPECT_FALSE(std::filesystem::exists(Trace("started")));
  if (listener) {
    EXPECT_FALSE(listener->Reached());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Units, MisbehavingUnit,
    ::testing::Values(BadCase{"CrashInCount", false, false}, BadCase{"CrashInList", false, false},
                      BadCase{"CrashInTable", false, false}, BadCase{"Hangs", false, false},
                      BadCase{"WritesFile", false, false}, BadCase{"Connects", false, false},
                      BadCase{"StartsProgram", false, false}, BadCase{"WildString", false, false},
                      BadCase{"Unterminated", false, false}, BadCase{"LyingTable", true, false},
                      BadCase{"Copied", true, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
