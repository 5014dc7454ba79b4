#include "platform/linux/wave/WaveImage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/WaveBytes.h"

using namespace platform;

namespace {

TEST(WaveImageTest, ReadsChunksInAnyOrderSkippingOthersAndOddPadding) {
  const std::string data = Samples(40);
  const std::string image =
      Riff(Chunk("LIST", "odd") + Chunk("data", data) + Chunk("fmt ", FmtBody({})));
  auto w = ParseWave(View(image));
  ASSERT_TRUE(w);
  EXPECT_EQ(w->channels, 2);
  EXPECT_EQ(w->sampleRate, 8000u);
  EXPECT_EQ(std::string(w->data.begin(), w->data.end()), data);
}

TEST(WaveImageTest, SizesThatLieAreCutToTheBytesPresentAndToWholeFrames) {
  const std::string data = Samples(42);  // ten frames and two stray bytes
  const std::string image = Riff(Chunk("fmt ", FmtBody({})) + Chunk("data", data, 0xFFFFFFF0u));
  auto w = ParseWave(View(image));
  ASSERT_TRUE(w);
  EXPECT_EQ(w->data.size(), 40u);

  // The clean image carries true sizes and parses back to the same sound.
  std::vector<uint8_t> clean = CleanWaveImage(*w, 1000);
  uint32_t riffSize = 0, dataSize = 0;
  std::memcpy(&riffSize, clean.data() + 4, 4);
  EXPECT_EQ(riffSize + 8, clean.size());
  auto again = ParseWave(clean);
  ASSERT_TRUE(again);
  std::memcpy(&dataSize, again->data.data() - 4, 4);
  EXPECT_EQ(dataSize, 40u);
  EXPECT_EQ(std::string(again->data.begin(), again->data.end()), data.substr(0, 40));

  EXPECT_EQ(ParseWave(CleanWaveImage(*w, 13))->data.size(), 12u);
}

TEST(WaveImageTest, RefusesImagesThatAreNotSoundOrMakeNoSense) {
  const std::string data = Chunk("data", Samples(16));
  auto with = [&](Fmt f) { return Riff(Chunk("fmt ", FmtBody(f)) + data); };
  const std::pair<const char*, std::string> bad[] = {
      {"empty", ""},
      {"text", "Just some text, renamed to .wav"},
      {"RIFF header only", Riff("")},
      {"no format", Riff(data)},
      {"short format", Riff(Chunk("fmt ", FmtBody({}).substr(0, 14)) + data)},
      {"no data", Riff(Chunk("fmt ", FmtBody({})))},
      {"zero channels", with({1, 0, 8000, 4, 16})},
      {"many channels", with({1, 40, 8000, 80, 16})},
      {"zero rate", with({1, 2, 0, 4, 16})},
      {"zero block", with({1, 2, 8000, 0, 16})},
      {"12-bit", with({1, 2, 8000, 4, 12})},
      {"block mismatch", with({1, 2, 8000, 2, 16})},
      {"16-bit float", with({3, 1, 8000, 2, 16})},
  };
  for (const auto& [name, image] : bad) {
    std::string why;
    EXPECT_FALSE(ParseWave(View(image), &why)) << name;
    EXPECT_FALSE(why.empty()) << name;
  }
}

}  // namespace
