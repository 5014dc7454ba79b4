// Damaged and mislabelled WAV files (tests/sounds/damaged) played the ways the program
// plays them: each gives its sound, or the chime, or silence when told to stay quiet;
// none crashes or hangs (ctest's timeout guards the rest).
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "CatalogueFixture.h"
#include "platform/Observation.h"
#include "platform/SoundOutput.h"
#include "platform/linux/sound/DefaultChime.h"
#include "platform/linux/wave/WaveImage.h"
#include "sounds/PlaySoundThread.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Sound {
  std::string path;
  std::string resource;  // its clip's name in the damaged unit
  bool plays;            // still holds a decodable sound
};

std::vector<Sound> Corpus() {
  std::vector<Sound> sounds;
  for (const auto& entry : std::filesystem::directory_iterator(JBW_DAMAGED_SOUNDS)) {
    if (entry.path().extension() != ".wav") continue;
    const std::string stem = entry.path().stem().string();
    sounds.push_back({entry.path().string(), stem, stem.rfind("plays-", 0) == 0});
  }
  std::sort(sounds.begin(), sounds.end(), [](auto& a, auto& b) { return a.path < b.path; });
  return sounds;
}

std::string ChimeSamples() {
  auto layout = platform::ParseWave(platform::DefaultChimeWave());
  return layout ? std::string(layout->data.begin(), layout->data.end()) : std::string();
}

size_t CountOf(const std::string& haystack, const std::string& needle) {
  size_t count = 0;
  for (size_t at = haystack.find(needle); at != std::string::npos;
       at = haystack.find(needle, at + needle.size()))
    ++count;
  return count;
}

// SDL's disk driver stands for the sound card (44.1 kHz 16-bit stereo, as the voice
// asks for), paced like one: sounds stream while they play, and a device that took
// them faster than they are decoded would hear gaps.
class BadSounds : public CatalogueFixture {
 protected:
  void SetUp() override {
    CatalogueFixture::SetUp();
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", folder_.File("device.raw").c_str(), 1);
    corpus = Corpus();
    ASSERT_GT(corpus.size(), 30u);
    chime = ChimeSamples();
    ASSERT_FALSE(chime.empty());
  }
  void TearDown() override {
    platform::ShutdownSoundOutput();
    CatalogueFixture::TearDown();
  }

  // What reached the device since it was opened; closing it flushes the file.
  std::string DeviceOutput() {
    platform::ShutdownSoundOutput();
    return ReadFile("device.raw");
  }

  // Waits until the clip and its play thread are done; false after 10 s (a hang).
  bool WaitDone() {
    const auto end = Clock::now() + std::chrono::seconds(10);
    while (platform::IsSoundPlaying() || sounds::TPlaySoundThread::Alive() > 0) {
      if (Clock::now() > end) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
  }

  // Plays menu entry `index` as a click does and checks it ends.
  void Click(int index, const Sound& sound) {
    catalogue_->PlaySoundPicked(index);
    ASSERT_TRUE(WaitDone()) << sound.path << " still plays after 10 s";
  }

  std::vector<Sound> corpus;
  std::string chime;
};

TEST_F(BadSounds, ExternalSoundsPlayOrGiveTheChime) {
  // Ten external entries at most, so the corpus goes in rounds.
  size_t refused = 0, chimes = 0;
  for (size_t first = 0; first < corpus.size(); first += 10) {
    const size_t count = std::min<size_t>(10, corpus.size() - first);
    std::string list = "[Sound-List]\n", menu = "[Sound-Menu]\n";
    for (size_t i = 0; i < count; ++i) {
      list += std::to_string(i + 1) + "=" + corpus[first + i].path + "\n";
      menu += std::to_string(i + 1) + "=" + corpus[first + i].resource + "\n";
    }
    WriteFile("External.ini",
              "[Settings]\nNumberOfSounds=" + std::to_string(count) + "\n" + list + menu);
    catalogue_->ReadSettings(nullptr);
    ASSERT_EQ(state_.soundList.size(), count + 1);
    for (size_t i = 0; i < count; ++i) {
      ASSERT_NO_FATAL_FAILURE(Click(static_cast<int>(i + 1), corpus[first + i]));
      refused += !corpus[first + i].plays;
    }
    chimes += CountOf(DeviceOutput(), chime);
  }
  EXPECT_EQ(chimes, refused);
}

TEST_F(BadSounds, UnitClipsPlayOrGiveTheChime) {
  WriteUnits({JBW_DAMAGED_UNIT});
  catalogue_->ReadSettings(nullptr);
  ASSERT_EQ(state_.soundList.size(), corpus.size() + 1);
  size_t refused = 0;
  for (size_t i = 0; i < corpus.size(); ++i) {
    ASSERT_NE(state_.soundList[i + 1].find(corpus[i].resource), std::string::npos)
        << state_.soundList[i + 1];
    ASSERT_NO_FATAL_FAILURE(Click(static_cast<int>(i + 1), corpus[i]));
    refused += !corpus[i].plays;
  }
  EXPECT_EQ(CountOf(DeviceOutput(), chime), refused);
}

TEST_F(BadSounds, EachFileIsJudgedRightAndIsSilentWithoutTheChime) {
  for (const Sound& sound : corpus) {
    const auto start = Clock::now();
    EXPECT_EQ(platform::PlaySoundA(sound.path.c_str(), nullptr,
                                   platform::SND_FILENAME | platform::SND_NODEFAULT),
              sound.plays ? 1 : 0)
        << sound.path;
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5)) << sound.path;
  }
  const std::string raw = DeviceOutput();
  EXPECT_EQ(CountOf(raw, chime), 0u);

  // Refused sounds alone: nothing but silence reaches the device.
  for (const Sound& sound : corpus) {
    if (sound.plays) continue;
    platform::PlaySoundA(sound.path.c_str(), nullptr,
                         platform::SND_FILENAME | platform::SND_ASYNC | platform::SND_NODEFAULT);
  }
  ASSERT_TRUE(WaitDone());
  const std::string quiet = DeviceOutput();
  EXPECT_EQ(std::count(quiet.begin(), quiet.end(), '\0'), static_cast<long>(quiet.size()));
}

}  // namespace
