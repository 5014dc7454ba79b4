#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "CatalogueFixture.h"
#include "platform/SoundOutput.h"
#include "rtl/Random.h"
#include "sounds/PlaySoundThread.h"

namespace {

using Playback = CatalogueFixture;

// Plays of unit clips, external files and random picks while the catalogue is rebuilt
// between two layouts that swap the units' indices. Run under TSan, it shows that play
// threads never share what a rebuild changes; every thread must end once cut off.
TEST_F(Playback, PlaysInterleavedWithRebuildsEndCleanly) {
  rtl::RandSeed(7);
  const std::string wav = TEST_TONE;
  for (int rebuild = 0; rebuild < 100; ++rebuild) {
    if (rebuild % 2 == 0) {
      WriteUnits({PLAY_UNIT_1, PLAY_UNIT_2});
      WriteFile("External.ini", "[Settings]\nNumberOfSounds=2\n[Sound-List]\n1=" + wav +
                                    "\n2=/no/such.wav\n[Sound-Menu]\n1=Tone\n2=Gone\n");
    } else {
      WriteUnits({PLAY_UNIT_2, PLAY_UNIT_1, ""});
      WriteFile("External.ini", "[Settings]\nNumberOfSounds=1\n[Sound-List]\n1=" + wav +
                                    "\n[Sound-Menu]\n1=Tone\n");
    }
    catalogue_->ReadSettings(nullptr);
    ASSERT_EQ(state_.soundList.size(), rebuild % 2 == 0 ? 8u : 7u);

    const int count = static_cast<int>(state_.soundList.size());
    for (int play = 0; play < 10; ++play) {
      if (play == 9) {
        catalogue_->PickRandomSound(nullptr);
      } else {
        // Now and then an index outside the list, which must play nothing.
        catalogue_->PlaySoundPicked(static_cast<int>(rtl::Random(count + 2)) - 1);
      }
      if (play % 3 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }

  platform::PlaySoundA(nullptr, nullptr, 0);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (sounds::TPlaySoundThread::Alive() > 0 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(sounds::TPlaySoundThread::Alive(), 0);
}

}  // namespace
