#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "CatalogueFixture.h"
#include "platform/Observation.h"
#include "platform/SoundOutput.h"
#include "rtl/Random.h"
#include "sounds/PlaySoundThread.h"
#include "sounds/SoundPlayer.h"

namespace {

// Entries whose unit index is outside the unit list: a pick starts a thread that plays
// nothing, so these tests make no sound.
void FillSilently(settings::SharedState& state, int entries, int capacity) {
  for (int i = 1; i <= entries; ++i)
    state.soundList.push_back("DLL|clip" + std::to_string(i) + "|9");
  state.recentCapacity = capacity;
}

TEST(PickRandomSound, NeverRepeatsAnyOfTheLastCapacityPicks) {
  for (const auto& [entries, capacity] : {std::pair{20, 5}, std::pair{40, 10}}) {
    rtl::RandSeed(entries);
    settings::SharedState state;
    FillSilently(state, entries, capacity);
    sounds::TSoundPlayer player(state);
    std::vector<int> history;
    for (int n = 0; n < 2000; ++n) {
      player.PickRandomSound(nullptr);
      ASSERT_LE(state.recentPicks.size(), static_cast<size_t>(capacity) + 1);
      const int pick = std::stoi(state.recentPicks.back());
      ASSERT_GE(pick, 1);
      ASSERT_LE(pick, entries);
      const auto from = history.size() > static_cast<size_t>(capacity) ? history.end() - capacity
                                                                       : history.begin();
      ASSERT_EQ(std::find(from, history.end(), pick), history.end())
          << "pick " << n << " repeats one of the last " << capacity;
      history.push_back(pick);
    }
    EXPECT_EQ(std::set<int>(history.begin(), history.end()).size(), static_cast<size_t>(entries));
    // Oldest first: the list holds exactly the latest picks.
    std::vector<std::string> latest{"Bogus"};
    for (auto it = history.end() - capacity; it != history.end(); ++it)
      latest.push_back(std::to_string(*it));
    EXPECT_EQ(state.recentPicks, latest);
  }
}

TEST(PickRandomSound, WithoutCapacityPicksAreNotRecordedAndAnEmptyListPlaysNothing) {
  settings::SharedState state;
  FillSilently(state, 19, 0);
  sounds::TSoundPlayer player(state);
  for (int n = 0; n < 50; ++n) player.PickRandomSound(nullptr);
  EXPECT_EQ(state.recentPicks, std::vector<std::string>{"Bogus"});

  settings::SharedState empty;
  FillSilently(empty, 0, 5);
  sounds::TSoundPlayer idle(empty);
  idle.PickRandomSound(nullptr);
  EXPECT_EQ(empty.recentPicks, std::vector<std::string>{"Bogus"});
}

// A capacity the entries cannot serve (set by hand, not by a rebuild) must not hang.
TEST(PickRandomSound, CapacityBeyondTheEntriesStillPicks) {
  settings::SharedState state;
  FillSilently(state, 3, 10);
  sounds::TSoundPlayer player(state);
  std::string last;
  for (int n = 0; n < 50; ++n) {
    player.PickRandomSound(nullptr);
    EXPECT_NE(state.recentPicks.back(), last);
    last = state.recentPicks.back();
  }
}

TEST(PlaySoundThread, CopiesItsEntryAndUnitPathWhenCreated) {
  settings::SharedState state;
  state.soundList = {"Bogus", "DLL|res:1|2", "DLL|res|3", "EXT|x.wav"};
  state.unitList = {"Bogus", "/a.BSU", "/b.BSU"};
  sounds::TPlaySoundThread thread(state, 1);
  state.unitList[2] = "/changed.BSU";
  EXPECT_TRUE(thread.Playable());
  EXPECT_EQ(thread.ResourceName(), "res:1");
  EXPECT_EQ(thread.UnitPath(), "/b.BSU");

  for (int index : {2, 3, 4, -1}) {
    sounds::TPlaySoundThread unplayable(state, index);
    EXPECT_FALSE(unplayable.Playable()) << index;
  }
}

TEST(PlaySoundPicked, IndicesWithoutAnEntryPlayNothing) {
  settings::SharedState state;
  state.soundList.push_back("EXT|/nowhere/missing.wav");
  sounds::TSoundPlayer player(state);
  platform::ShutdownSoundOutput();
  for (int index : {-1, 0, 2, 1 << 30}) {
    player.PlaySoundPicked(index);
    EXPECT_FALSE(platform::IsSoundPlaying()) << index;
  }
  player.PlaySoundPicked(1);  // a missing file plays the chime
  EXPECT_TRUE(platform::IsSoundPlaying());
  platform::ShutdownSoundOutput();
}

using MenuClick = CatalogueFixture;

TEST_F(MenuClick, PlaysTheEntryWithoutRecordingAPick) {
  WriteUnits({FAKE_UNIT_45});
  catalogue_->ReadSettings(nullptr);
  catalogue_->PickRandomSound(nullptr);
  const std::vector<std::string> picks = state_.recentPicks;
  TopLevel(6)->Items(30)->Click();
  EXPECT_EQ(state_.recentPicks, picks);
}

}  // namespace
