// The external editor's Test button on damaged and mislabelled WAV files
// (tests/sounds/damaged): their sound or the chime, and the editor goes on. And on the
// other formats, whole or damaged.
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "EditorFixture.h"
#include "editors/External.h"
#include "platform/Observation.h"
#include "platform/SoundOutput.h"
#include "platform/linux/sound/DefaultChime.h"
#include "platform/linux/wave/WaveImage.h"

namespace {

using Clock = std::chrono::steady_clock;

class TestButton : public EditorFixture {
 protected:
  // SDL's disk driver stands for the sound card, paced like one: sounds stream while
  // they play.
  void SetUp() override {
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", app.File("device.raw").c_str(), 1);
  }
  void TearDown() override { platform::ShutdownSoundOutput(); }
};

TEST_F(TestButton, DamagedFilesPlayOrGiveTheChimeAndTheEditorGoesOn) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(JBW_DAMAGED_SOUNDS))
    if (entry.path().extension() == ".wav") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  ASSERT_GT(files.size(), 30u);

  editors::TFormExternal form(nullptr, context);
  form.Show();
  size_t refused = 0;
  for (const auto& file : files) {
    form.EditFileName->setText(QString::fromStdString(file.string()));
    form.BtnTest->click();
    const auto end = Clock::now() + std::chrono::seconds(10);
    while (platform::IsSoundPlaying()) {
      ASSERT_LT(Clock::now(), end) << file << " still plays after 10 s";
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    refused += file.filename().string().rfind("refused-", 0) == 0;
  }
  EXPECT_TRUE(Errors().empty());
  EXPECT_TRUE(form.Visible());

  platform::ShutdownSoundOutput();
  const std::string raw = app.Read("device.raw");
  auto layout = platform::ParseWave(platform::DefaultChimeWave());
  ASSERT_TRUE(layout);
  const std::string chime(layout->data.begin(), layout->data.end());
  size_t chimes = 0;
  for (size_t at = raw.find(chime); at != std::string::npos;
       at = raw.find(chime, at + chime.size()))
    ++chimes;
  EXPECT_EQ(chimes, refused);
}

TEST_F(TestButton, OtherFormatsPlayAndADamagedOneGivesTheChime) {
  const std::string dir = JBW_FORMAT_CLIPS;
  editors::TFormExternal form(nullptr, context);
  form.Show();
  for (const char* name : {"tone.flac", "bad.ogg"}) {
    form.EditFileName->setText(QString::fromStdString(dir + name));
    form.BtnTest->click();
    while (platform::IsSoundPlaying()) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_TRUE(Errors().empty());

  platform::ShutdownSoundOutput();
  const std::string raw = app.Read("device.raw");
  auto samplesOf = [](std::span<const uint8_t> image) {
    auto layout = platform::ParseWave(image);
    return layout ? std::string(layout->data.begin(), layout->data.end()) : std::string("-");
  };
  std::ifstream in(dir + "tone.wav", std::ios::binary);
  const std::string tone((std::istreambuf_iterator<char>(in)), {});
  // FLAC is lossless: the tone's own samples reach the device, then the chime.
  const size_t at =
      raw.find(samplesOf({reinterpret_cast<const uint8_t*>(tone.data()), tone.size()}));
  ASSERT_NE(at, std::string::npos);
  EXPECT_NE(raw.find(samplesOf(platform::DefaultChimeWave()), at), std::string::npos);
}

}  // namespace
