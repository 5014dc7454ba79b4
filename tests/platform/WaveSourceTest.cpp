#include "platform/linux/wave/WaveSource.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/WaveBytes.h"
#include "support/TempFolder.h"

using namespace platform;

namespace {

std::string DataOf(WaveSource& source) {
  std::vector<uint8_t> out;
  EXPECT_TRUE(source.ReadData(0, static_cast<size_t>(source.DataSize()), out));
  return std::string(out.begin(), out.end());
}

class WaveSourceTest : public ::testing::Test {
 protected:
  std::unique_ptr<WaveSource> File(const std::string& image) {
    folder.Write("sound.wav", image);
    return WaveSource::FromFile(folder.File("sound.wav").c_str());
  }
  TempFolder folder;
};

// A file is read in pieces and an image in place; both must find the same sound.
TEST_F(WaveSourceTest, FileAndImageFindTheSameDataBetweenOtherChunks) {
  const std::string data = Samples(400);
  const std::string image =
      Riff(Chunk("LIST", std::string(3001, 'x')) + Chunk("fmt ", FmtBody({})) +
           Chunk("data", data) + Chunk("cue ", std::string(64, 'c')));
  auto file = File(image);
  auto memory = WaveSource::FromImage(View(image));
  ASSERT_TRUE(file);
  for (WaveSource* source : {file.get(), memory.get()}) {
    auto layout = source->ReadHeader();
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->sampleRate, 8000u);
    EXPECT_EQ(layout->format.size(), 16u);
    EXPECT_EQ(source->DataSize(), data.size());
    EXPECT_EQ(DataOf(*source), data);
  }
}

TEST_F(WaveSourceTest, DataThatClaimsTooMuchIsCutToTheFileAndWholeFrames) {
  auto source = File(Riff(Chunk("fmt ", FmtBody({})) + Chunk("data", Samples(42), 0xFFFFFFF0u)));
  ASSERT_TRUE(source && source->ReadHeader());
  EXPECT_EQ(source->DataSize(), 40u);
  EXPECT_EQ(DataOf(*source), Samples(40));
  std::vector<uint8_t> out;
  EXPECT_FALSE(source->ReadData(36, 8, out));  // past the data
}

TEST_F(WaveSourceTest, AFileCutShortAfterItsHeaderFailsToReadNotCrash) {
  auto source = File(Wave({}, Samples(4000)));
  ASSERT_TRUE(source && source->ReadHeader());
  ASSERT_EQ(truncate(folder.File("sound.wav").c_str(), 100), 0);
  std::vector<uint8_t> out;
  EXPECT_TRUE(source->ReadData(0, 40, out));
  EXPECT_FALSE(source->ReadData(0, 4000, out));
}

TEST_F(WaveSourceTest, AFileWhoseFormatLiesBeyondItsFirstMegabyteIsRefused) {
  const std::string image = Riff(Chunk("LIST", std::string(1 << 20, 'x')) +
                                 Chunk("fmt ", FmtBody({})) + Chunk("data", Samples(40)));
  auto source = File(image);
  ASSERT_TRUE(source);
  std::string why;
  EXPECT_FALSE(source->ReadHeader(&why));
  EXPECT_FALSE(why.empty());
}

TEST_F(WaveSourceTest, OnlyRegularFilesOfSensibleSizeOpen) {
  EXPECT_FALSE(WaveSource::FromFile(folder.File("gone.wav").c_str()));
  EXPECT_FALSE(WaveSource::FromFile(folder.Path().c_str()));
  ASSERT_EQ(mkfifo(folder.File("pipe.wav").c_str(), 0600), 0);
  EXPECT_FALSE(WaveSource::FromFile(folder.File("pipe.wav").c_str()));

  folder.Write("huge.wav", "");
  std::filesystem::resize_file(folder.File("huge.wav"), kMaxSoundFileBytes + 1);  // sparse
  EXPECT_FALSE(WaveSource::FromFile(folder.File("huge.wav").c_str()));
  std::filesystem::resize_file(folder.File("huge.wav"), kMaxSoundFileBytes);
  EXPECT_TRUE(WaveSource::FromFile(folder.File("huge.wav").c_str()));
}

}  // namespace
