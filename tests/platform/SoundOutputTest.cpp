#include "platform/Observation.h"
#include "platform/SoundOutput.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <thread>

#include "platform/DiskDevice.h"
#include "platform/DynamicModule.h"
#include "platform/linux/sound/DefaultChime.h"
#include "platform/linux/wave/SoundFileDecode.h"
#include "platform/linux/wave/WaveImage.h"
#include "support/TempFolder.h"

using namespace platform;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// How long a 0.2 s clip holds a synchronous call at least. SDL's dummy and disk
// drivers wait whole milliseconds between callbacks, 5 ms for 256 frames (5.8 ms).
constexpr auto kClipTime = 160ms;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The sample bytes of a WAVE image: what must reach a device of the same format.
std::string SamplesOf(std::span<const uint8_t> image) {
  auto w = ParseWave(image);
  return w ? std::string(w->data.begin(), w->data.end()) : std::string();
}
std::string SamplesOf(const std::string& image) {
  return SamplesOf({reinterpret_cast<const uint8_t*>(image.data()), image.size()});
}

class SoundOutputTest : public DiskDeviceTest {
 protected:
  void SetUp() override {
    DiskDeviceTest::SetUp();
    unit = LoadLibraryA(JBW_TEST_UNIT);
    ASSERT_NE(unit, nullptr) << LastModuleError();
  }
  void TearDown() override {
    DiskDeviceTest::TearDown();
    FreeLibrary(unit);
  }

  HMODULE unit = nullptr;
  const std::string pattern = ReadAll(JBW_TEST_DATA "Pattern.wav");
};

TEST_F(SoundOutputTest, ResourceClipReachesTheDeviceWhileTheCallWaits) {
  auto info = GetSoundOutputInfo();
  ASSERT_TRUE(info);
  EXPECT_EQ(info->driver, "disk");

  const auto start = Clock::now();
  EXPECT_EQ(PlaySoundA("PATTERN", unit, SND_RESOURCE), 1);
  EXPECT_GE(Clock::now() - start, kClipTime);
  auto first = LatestClipFirstSampleTime();
  ASSERT_TRUE(first);
  EXPECT_GE(*first, start);

  EXPECT_NE(DeviceOutput().find(SamplesOf(pattern)), std::string::npos);
}

TEST_F(SoundOutputTest, ANewerSoundCutsOffAWaitingClipAndPlaysWhole) {
  Clock::duration waited{};
  std::thread player([&] {
    const auto start = Clock::now();
    PlaySoundA("Long", unit, SND_RESOURCE);  // one second
    waited = Clock::now() - start;
  });
  // Opening the device may take a while on a busy machine or under a sanitizer.
  const auto end = Clock::now() + 3s;
  while (!IsSoundPlaying() && Clock::now() < end) std::this_thread::sleep_for(5ms);
  EXPECT_TRUE(IsSoundPlaying());
  // Nothing may interrupt a sound asked not to stop another.
  EXPECT_EQ(PlaySoundA("Pattern", unit, SND_RESOURCE | SND_ASYNC | SND_NOSTOP), 0);
  EXPECT_TRUE(IsSoundPlaying());

  const std::string path = JBW_TEST_DATA "Pattern.wav";
  EXPECT_EQ(PlaySoundA(path.c_str(), nullptr, SND_FILENAME | SND_ASYNC), 1);
  player.join();
  EXPECT_LT(waited, 700ms);
  ASSERT_TRUE(WaitIdle());
  EXPECT_NE(DeviceOutput().find(SamplesOf(pattern)), std::string::npos);
}

TEST_F(SoundOutputTest, SoundsThatCannotBeFoundPlayTheChimeUnlessToldNot) {
  EXPECT_EQ(PlaySoundA(folder.File("gone.wav").c_str(), nullptr, SND_FILENAME | SND_ASYNC), 0);
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(PlaySoundA("NoSuchClip", unit, SND_RESOURCE | SND_NODEFAULT), 0);
  EXPECT_FALSE(IsSoundPlaying());

  const std::string raw = DeviceOutput();
  const std::string chime = SamplesOf(DefaultChimeWave());
  ASSERT_FALSE(chime.empty());
  const size_t at = raw.find(chime);
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(raw.find(chime, at + 1), std::string::npos);

  // A unit whose resource table is missing: the chime again, and the call returns.
  HMODULE odd = LoadLibraryA(JBW_NULL_TABLE_UNIT);
  const auto start = Clock::now();
  EXPECT_EQ(PlaySoundA("Good", odd, SND_RESOURCE), 0);
  EXPECT_LT(Clock::now() - start, 2s);
  FreeLibrary(odd);
}

TEST_F(SoundOutputTest, OtherFormatsAreConvertedWithoutLosingTheirEnd) {
  const std::string path = JBW_TEST_DATA "Low.wav";  // 0.2 s, 8 kHz, 8-bit mono
  EXPECT_EQ(PlaySoundA(path.c_str(), nullptr, SND_FILENAME), 1);
  const std::string raw = DeviceOutput();
  const auto* samples = reinterpret_cast<const int16_t*>(raw.data());
  const size_t count = raw.size() / 2;
  size_t first = count, last = 0;
  for (size_t i = 0; i < count; ++i)
    if (samples[i] > 8 || samples[i] < -8) {
      first = std::min(first, i);
      last = i;
    }
  ASSERT_LT(first, last);
  const double seconds = double(last - first) / 2 / 44100;
  EXPECT_NEAR(seconds, 0.2, 0.01);
}

// Through libsndfile: FLAC gives the tone's very samples, the lossy formats a tone as
// long. A file cut short plays what it holds; one whose header is gone plays the chime.
TEST_F(SoundOutputTest, OtherFormatsPlayAndTheirDamagedCopiesNeverCrashOrHang) {
  const std::string dir = JBW_FORMAT_CLIPS;
  EXPECT_EQ(PlaySoundA((dir + "tone.flac").c_str(), nullptr, SND_FILENAME), 1);
  EXPECT_NE(DeviceOutput().find(SamplesOf(ReadAll(dir + "tone.wav"))), std::string::npos);
  for (const char* ext : {"ogg", "opus", "mp3"}) {
    EXPECT_EQ(PlaySoundA((dir + "tone." + ext).c_str(), nullptr, SND_FILENAME), 1) << ext;
    const std::string raw = DeviceOutput();
    const auto* samples = reinterpret_cast<const int16_t*>(raw.data());
    size_t loud = 0;
    for (size_t i = 0; i < raw.size() / 2; ++i) loud += samples[i] > 512 || samples[i] < -512;
    // The encoders' padding and delay change the length; the tone is there.
    EXPECT_GT(double(loud) / 2 / 44100, 0.15) << ext;
    EXPECT_LT(double(loud) / 2 / 44100, 0.4) << ext;
  }

  for (const char* ext : {"flac", "ogg"}) {
    const auto start = Clock::now();
    PlaySoundA((dir + "cut." + ext).c_str(), nullptr, SND_FILENAME);
    EXPECT_EQ(PlaySoundA((dir + "bad." + ext).c_str(), nullptr, SND_FILENAME), 0) << ext;
    EXPECT_EQ(PlaySoundA((dir + "bad." + ext).c_str(), nullptr, SND_FILENAME | SND_NODEFAULT), 0);
    EXPECT_LT(Clock::now() - start, 5s) << ext;
  }
  EXPECT_NE(DeviceOutput().find(SamplesOf(DefaultChimeWave())), std::string::npos);
}

TEST(SoundFileNames, OnlyTheFourOtherFormatsGoToLibsndfile) {
  for (const char* path : {"a.flac", "/x/Door.OGG", "b.opus", "c.Mp3", "./.mp3"}) {
    EXPECT_TRUE(HasOtherSoundFormatName(path)) << path;
  }
  for (const char* path : {"a.wav", "mp3", "/x.mp3/door", "a.mp3.wav", "a.flac ", ""}) {
    EXPECT_FALSE(HasOtherSoundFormatName(path)) << path;
  }
}

TEST_F(SoundOutputTest, DamagedFilesNeverCrashOrHang) {
  auto patch = [&](size_t offset, uint32_t value, int bytes) {
    std::string copy = pattern;
    for (int i = 0; i < bytes; ++i) copy[offset + i] = static_cast<char>(value >> (8 * i));
    return copy;
  };
  std::vector<std::string> corpus = {
      "",
      "RIFF",
      "plain text renamed to .wav\n",
      pattern.substr(0, 12),
      pattern.substr(0, 36),
      pattern.substr(0, 44),
      pattern.substr(0, 45),
      pattern.substr(0, pattern.size() - 1),
      patch(4, 0, 4),             // RIFF size zero
      patch(40, 0xFFFFFFFFu, 4),  // data size huge
      patch(16, 0xFFFFFFFFu, 4),  // format chunk size huge
      patch(22, 0, 2),            // no channels
      patch(24, 0xFFFFFFFFu, 4),  // absurd rate
      patch(32, 0, 2),            // block size zero
      patch(20, 0x55, 2),         // an encoding the decoder lacks
      patch(20, 2, 2),            // ADPCM without its extra fields
  };
  std::mt19937 random(7);
  for (int i = 0; i < 150; ++i) {
    std::string copy = pattern.substr(0, 44 + random() % 400);
    for (int flips = 0; flips < 3; ++flips) copy[random() % 44] = static_cast<char>(random());
    corpus.push_back(copy);
  }
  for (size_t i = 0; i < corpus.size(); ++i) {
    folder.Write("damaged.wav", corpus[i]);
    const auto start = Clock::now();
    PlaySoundA(folder.File("damaged.wav").c_str(), nullptr,
               SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
    EXPECT_LT(Clock::now() - start, 1s) << i;
  }
  PlaySoundA(nullptr, nullptr, 0);
  EXPECT_FALSE(IsSoundPlaying());

  // A pipe under a sound's name would block a plain open forever.
  ASSERT_EQ(mkfifo(folder.File("pipe.wav").c_str(), 0600), 0);
  const auto start = Clock::now();
  EXPECT_EQ(PlaySoundA(folder.File("pipe.wav").c_str(), nullptr, SND_FILENAME), 0);
  EXPECT_LT(Clock::now() - start, 2s);
}

// SDL's disk driver takes a device name for the file it writes.
TEST_F(SoundOutputTest, ANamedDeviceIsUsedWhenItOpensAndTheDefaultOtherwise) {
  const std::string path = JBW_TEST_DATA "Pattern.wav";
  SetSoundOutputDevice(folder.File("chosen.raw"));
  EXPECT_EQ(PlaySoundA(path.c_str(), nullptr, SND_FILENAME), 1);
  ShutdownSoundOutput();
  EXPECT_NE(folder.Read("chosen.raw").find(SamplesOf(pattern)), std::string::npos);
  EXPECT_FALSE(folder.Exists("device.raw"));

  SetSoundOutputDevice("/no-such-folder/chosen.raw");
  EXPECT_EQ(PlaySoundA(path.c_str(), nullptr, SND_FILENAME), 1);
  EXPECT_NE(DeviceOutput().find(SamplesOf(pattern)), std::string::npos);

  SetSoundOutputDevice("");
  std::filesystem::remove(folder.File("device.raw"));
  EXPECT_EQ(PlaySoundA(path.c_str(), nullptr, SND_FILENAME), 1);
  EXPECT_NE(DeviceOutput().find(SamplesOf(pattern)), std::string::npos);
  EXPECT_FALSE(ListSoundOutputDevices().empty());
}

TEST(SoundOutputFallbackTest, WithoutAWorkingDriverSoundsGoToTheDummyDevice) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  auto info = GetSoundOutputInfo();
  ASSERT_TRUE(info);
  EXPECT_EQ(info->driver, "dummy");
  const std::string path = JBW_TEST_DATA "Pattern.wav";
  const auto start = Clock::now();
  EXPECT_EQ(PlaySoundA(path.c_str(), nullptr, SND_FILENAME), 1);
  EXPECT_GE(Clock::now() - start, kClipTime);

  // The fallback is not kept: once a driver works again, the next sound uses it.
  setenv("SDL_AUDIODRIVER", "disk", 1);
  TempFolder folder;
  setenv("SDL_DISKAUDIOFILE", folder.File("device.raw").c_str(), 1);
  EXPECT_EQ(PlaySoundA(path.c_str(), nullptr, SND_FILENAME), 1);
  EXPECT_EQ(GetSoundOutputInfo()->driver, "disk");
  ShutdownSoundOutput();
  EXPECT_NE(folder.Read("device.raw").find(SamplesOf(ReadAll(path))), std::string::npos);

  // Nor after a shutdown.
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  EXPECT_EQ(GetSoundOutputInfo()->driver, "dummy");
  ShutdownSoundOutput();
  setenv("SDL_AUDIODRIVER", "disk", 1);
  EXPECT_EQ(GetSoundOutputInfo()->driver, "disk");
  ShutdownSoundOutput();
}

// A sound server that restarts, or an output that goes, leaves SDL's device open but
// silent; the next sound must be heard all the same.
TEST_F(SoundOutputTest, ADeviceThatStoppedCallingBackIsOpenedAgainForTheNextSound) {
  const std::string path = JBW_TEST_DATA "Pattern.wav";
  EXPECT_EQ(PlaySoundA(path.c_str(), nullptr, SND_FILENAME), 1);
  HaltSoundOutput();
  std::this_thread::sleep_for(1200ms);  // longer than any live device stays silent
  const auto start = Clock::now();
  EXPECT_EQ(PlaySoundA(path.c_str(), nullptr, SND_FILENAME), 1);
  const auto first = LatestClipFirstSampleTime();
  ASSERT_TRUE(first);
  EXPECT_GE(*first, start);
  EXPECT_NE(DeviceOutput().find(SamplesOf(pattern)), std::string::npos);
}

// An idle device closes by itself and opens again for the next sound; a clip still
// playing, or a synchronous call waiting for its clip, keeps it open.
TEST(SoundOutputIdleTest, TheDeviceClosesWhenIdleAndReopensForTheNextSound) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  SetSoundOutputIdleClose(100ms);
  const std::string path = JBW_TEST_DATA "Pattern.wav";  // 0.2 s
  auto closed = [](Clock::duration limit) {
    const auto end = Clock::now() + limit;
    while (IsSoundOutputOpen() && Clock::now() < end) std::this_thread::sleep_for(5ms);
    return !IsSoundOutputOpen();
  };

  EXPECT_EQ(PlaySoundA(path.c_str(), nullptr, SND_FILENAME | SND_ASYNC), 1);
  // The device opens off the caller's thread, in time for the clip's first sample.
  const auto end = Clock::now() + 2s;
  while (!LatestClipFirstSampleTime() && Clock::now() < end) std::this_thread::sleep_for(5ms);
  EXPECT_TRUE(IsSoundOutputOpen());
  std::this_thread::sleep_for(150ms);  // past the idle time, but the clip still plays
  EXPECT_TRUE(IsSoundOutputOpen());
  EXPECT_TRUE(closed(2s));
  EXPECT_FALSE(IsSoundPlaying());

  for (int i = 0; i < 2; ++i) {  // a synchronous play after the close is heard whole
    const auto start = Clock::now();
    EXPECT_EQ(PlaySoundA(path.c_str(), nullptr, SND_FILENAME), 1);
    EXPECT_GE(Clock::now() - start, kClipTime);
    EXPECT_TRUE(closed(2s));
  }
  SetSoundOutputIdleClose(10s);
  ShutdownSoundOutput();
}

}  // namespace
