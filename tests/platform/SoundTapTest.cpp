// The copy of the device's buffers the virtual microphone is fed from: the same samples
// the device gets, while a clip plays, and nothing once the tap is taken away.
#include <algorithm>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>

#include "platform/DiskDevice.h"
#include "platform/SoundOutput.h"
#include "platform/WaveBytes.h"
#include "platform/linux/sound/SoundVoice.h"

using namespace platform;

namespace {

constexpr Fmt kCd{1, 2, 44100, 4, 16};

class SoundTapTest : public DiskDeviceTest {
 protected:
  void SetUp() override {
    DiskDeviceTest::SetUp();
    SoundVoice::Instance().SetTap(
        [this](const SDL_AudioSpec& format, const Uint8* data, int length) {
          std::lock_guard lock(mutex);
          tapped.append(reinterpret_cast<const char*>(data), static_cast<size_t>(length));
          bufferBytes = std::max(bufferBytes, length);
          tappedFormat = format;
        });
  }
  void TearDown() override {
    SoundVoice::Instance().SetTap(nullptr);
    DiskDeviceTest::TearDown();
  }
  std::string Tapped() {
    std::lock_guard lock(mutex);
    return tapped;
  }

  std::mutex mutex;
  std::string tapped;
  int bufferBytes = 0;
  SDL_AudioSpec tappedFormat{};
};

// Numbered stereo frames, none silent, so a lost or doubled buffer shows.
std::string Numbered(uint32_t frames) {
  std::string out;
  for (uint32_t i = 0; i < frames; ++i) Put(out, i * 2654435761u | 0x01000100u, 4);
  return out;
}

}  // namespace

TEST_F(SoundTapTest, TheTapGetsTheClipAsTheDeviceDoesAndNoSilenceAround) {
  const std::string samples = Numbered(22050);
  folder.Write("clip.wav", Wave(kCd, samples));
  ASSERT_TRUE(PlaySoundA(folder.File("clip.wav").c_str(), nullptr, SND_FILENAME));
  ASSERT_TRUE(WaitIdle());
  // The device goes on calling back, in silence.
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  const std::string device = DeviceOutput();
  const std::string tapped = Tapped();

  EXPECT_EQ(tappedFormat.freq, 44100);
  EXPECT_EQ(tappedFormat.channels, 2);
  const size_t at = tapped.find(samples);
  ASSERT_NE(at, std::string::npos) << "the clip is not whole in what was tapped";
  EXPECT_NE(device.find(tapped), std::string::npos) << "the tap got what the device did not";
  // Only the buffers the clip began and ended in carry silence too.
  EXPECT_LT(tapped.size(), samples.size() + 2 * static_cast<size_t>(bufferBytes));

  SoundVoice::Instance().SetTap(nullptr);
  ASSERT_TRUE(PlaySoundA(folder.File("clip.wav").c_str(), nullptr, SND_FILENAME));
  EXPECT_EQ(Tapped(), tapped);
}
