// Sounds long enough to stream in many pieces, played into SDL's disk driver.
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <future>
#include <span>
#include <thread>
#include <vector>

#include "platform/DiskDevice.h"
#include "platform/Observation.h"
#include "platform/SoundOutput.h"
#include "platform/WaveBytes.h"
#include "platform/linux/sound/DefaultChime.h"

using namespace platform;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

constexpr Fmt kCd{1, 2, 44100, 4, 16};

// Samples in no pattern that a lost, doubled or reordered piece could hide in, and
// never silent.
std::string Numbered(double seconds) {
  std::string out;
  const auto frames = static_cast<uint32_t>(seconds * 44100);
  for (uint32_t i = 0; i < frames; ++i) Put(out, i * 2654435761u | 0x01000100u, 4);
  return out;
}

class SoundStreamTest : public DiskDeviceTest {
 protected:
  bool PlayFile(const std::string& name, const std::string& image, DWORD flags) {
    folder.Write(name, image);
    return PlaySoundA(folder.File(name).c_str(), nullptr, SND_FILENAME | flags) == 1;
  }
};

TEST_F(SoundStreamTest, ALongFileReachesTheDeviceWholeAndInOrder) {
  const std::string samples = Numbered(1.5);
  ASSERT_TRUE(PlayFile("long.wav", Wave(kCd, samples), SND_ASYNC));
  EXPECT_TRUE(IsSoundPlaying());
  ASSERT_TRUE(WaitIdle(10s));
  EXPECT_NE(DeviceOutput().find(samples), std::string::npos);
}

// The converter keeps a few samples back until told the sound has ended.
TEST_F(SoundStreamTest, AConvertedFileKeepsItsLastSamples) {
  std::string level;
  for (int i = 0; i < 22050; ++i) Put(level, 12000, 2);  // 1 s of 22.05 kHz mono
  ASSERT_TRUE(PlayFile("level.wav", Wave({1, 1, 22050, 2, 16}, level), 0));
  const std::string raw = DeviceOutput();
  const auto* samples = reinterpret_cast<const int16_t*>(raw.data());
  const long loud =
      std::count_if(samples, samples + raw.size() / 2, [](int16_t v) { return v > 6000; });
  EXPECT_NEAR(loud, 2 * 44100, 8);
}

TEST_F(SoundStreamTest, AFileCutShortWhileItPlaysEndsThere) {
  ASSERT_TRUE(PlayFile("long.wav", Wave(kCd, Numbered(20)), SND_ASYNC));
  std::this_thread::sleep_for(100ms);
  ASSERT_EQ(truncate(folder.File("long.wav").c_str(), 0), 0);
  EXPECT_TRUE(WaitIdle(5s));  // far less than the 20 s it would have played
}

TEST_F(SoundStreamTest, ANewerSoundStopsTheOlderStreamForGood) {
  ASSERT_TRUE(PlayFile("long.wav", Wave(kCd, Numbered(20)), SND_ASYNC));
  std::this_thread::sleep_for(200ms);
  const std::string tail = std::string(4000, '\0') + Samples(4000);
  ASSERT_TRUE(PlayFile("short.wav", Wave(kCd, tail), SND_ASYNC));
  ASSERT_TRUE(WaitIdle(5s));
  std::this_thread::sleep_for(300ms);  // an older stream would go on here
  const std::string raw = DeviceOutput();
  const size_t at = raw.find(tail);
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(raw.find_first_not_of('\0', at + tail.size()), std::string::npos);
}

// Once a stop has returned, the caller may free or reuse a sound's memory.
TEST_F(SoundStreamTest, AStoppedMemorySoundIsNoLongerRead) {
  std::string image = Wave(kCd, Numbered(5));
  ASSERT_EQ(PlaySoundA(image.data(), nullptr, SND_MEMORY | SND_ASYNC), 1);
  std::this_thread::sleep_for(100ms);
  PlaySoundA(nullptr, nullptr, 0);
  EXPECT_FALSE(IsSoundPlaying());
  std::fill(image.begin() + 44, image.end(), '\x55');
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(DeviceOutput().find("\x55\x55\x55\x55"), std::string::npos);
}

TEST_F(SoundStreamTest, AnUnreadableFileGivesTheChimeAfterTheCallReturned) {
  // Found, so the call says so; the chime follows once the file is judged.
  ASSERT_TRUE(PlayFile("text.wav", "Just text, renamed to .wav", SND_ASYNC));
  ASSERT_TRUE(WaitIdle(5s));
  const std::string raw = DeviceOutput();
  EXPECT_NE(raw.find_first_not_of('\0'), std::string::npos);
}

// What the exit check reads: the chime as the streaming thread, which the program does
// not wait for, would still be reading it while the process exits.
std::span<const uint8_t> chimeAtExit;
const std::vector<uint8_t>* chimeExpected = nullptr;

void CheckChimeAtExit() {
  if (!std::equal(chimeAtExit.begin(), chimeAtExit.end(), chimeExpected->begin(),
                  chimeExpected->end()))
    std::_Exit(3);
}

TEST(DefaultChimeTest, StaysReadableWhileTheProcessExits) {
  // A process of its own, in which the chime is made only below.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        // Mapped on its own, so that freeing it unmaps it. Registered before the chime
        // is made, the check runs after anything exit would do to the chime.
        mallopt(M_MMAP_THRESHOLD, 32 * 1024);
        std::atexit(CheckChimeAtExit);
        chimeAtExit = DefaultChimeWave();
        chimeExpected = new std::vector<uint8_t>(chimeAtExit.begin(), chimeAtExit.end());
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace

namespace {

// A stop waits for a sound read from its caller's memory, never for a file: the thread
// that streams one may be busy with it for long, here held up opening the device.
TEST(SoundStopTest, AStopDoesNotWaitForAFileStillOnItsWay) {
  TempFolder folder;
  const std::string fifo = folder.File("device.fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", fifo.c_str(), 1);  // opening it waits for a reader
  ASSERT_EQ(PlaySoundA(JBW_FORMAT_CLIPS "tone.flac", nullptr, SND_FILENAME | SND_ASYNC), 1);
  std::this_thread::sleep_for(300ms);  // into the opening
  auto stop = std::async(std::launch::async, [] { PlaySoundA(nullptr, nullptr, 0); });
  EXPECT_EQ(stop.wait_for(10s), std::future_status::ready);
  std::thread reader([&] {
    std::ifstream in(fifo, std::ios::binary);
    char buffer[4096];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    }
  });
  stop.wait();
  ShutdownSoundOutput();
  reader.join();
}

}  // namespace
