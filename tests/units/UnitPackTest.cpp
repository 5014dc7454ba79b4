#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "jbw/SoundUnitAbi.h"
#include "platform/DynamicModule.h"
#include "platform/ModuleResources.h"
#include "platform/linux/wave/WaveImage.h"
#include "support/TempFolder.h"

using namespace platform;

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Quoted(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// What the exit check reads: a clip of a loaded unit, as a play thread the program does
// not wait for would still be reading it while the process exits.
std::span<const uint8_t> clipAtExit;
std::string clipExpected;

void CheckClipAtExit() {
  if (std::string(clipAtExit.begin(), clipAtExit.end()) != clipExpected) std::_Exit(3);
}

class UnitPackTest : public ::testing::Test {
 protected:
  // Runs jbw-unit-pack with the template from the build; returns its exit code.
  int Pack(const std::vector<std::string>& args) {
    std::string command = Quoted(JBW_UNIT_PACK) + " --template " + Quoted(JBW_UNIT_TEMPLATE);
    for (const auto& a : args) command += " " + Quoted(a);
    command += " >" + Quoted(folder.File("pack.log")) + " 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Data(const char* name) const { return std::string(JBW_TEST_DATA) + name; }

  TempFolder folder;
};

TEST_F(UnitPackTest, PackedUnitLoadsListsItsClipsAndServesTheirData) {
  folder.Write("pattern.wav", ReadAll(Data("Pattern.wav")));
  folder.Write("a|b:c.wav", ReadAll(Data("Low.wav")));
  const std::string out = folder.File("Packed.BSU");
  ASSERT_EQ(Pack({"-o", out, "--id", "Packed_1", "--caption", "Packed Sounds",
                  folder.File("pattern.wav") + "=Stereo Pattern", Data("Long.wav"),
                  folder.File("a|b:c.wav"), Data("Pattern.wav")}),
            0)
      << folder.Read("pack.log");

  HMODULE m = LoadLibraryA(out.c_str());
  ASSERT_NE(m, nullptr) << LastModuleError();
  auto count = reinterpret_cast<JbwNumberofSoundsFn>(GetProcAddress(m, "NumberofSounds"));
  auto list = reinterpret_cast<JbwSoundsListFn>(GetProcAddress(m, "SoundsList"));
  ASSERT_TRUE(count && list);
  ASSERT_EQ(count(), 4);
  EXPECT_STREQ(list(0), "Packed_1:Packed Sounds");
  EXPECT_STREQ(list(1), "pattern:Stereo Pattern");
  EXPECT_STREQ(list(2), "Long:Long");
  EXPECT_STREQ(list(3), "a_b_c:a_b_c");
  EXPECT_STREQ(list(4), "Pattern_2:Pattern");  // names differ by more than letter case
  EXPECT_STREQ(list(5), "");

  auto data = [&](const char* name) {
    auto r = FindWaveResource(m, name);
    return r ? std::string(r->begin(), r->end()) : std::string("(none)");
  };
  EXPECT_EQ(data("PATTERN"), ReadAll(Data("Pattern.wav")));
  EXPECT_EQ(data("long"), ReadAll(Data("Long.wav")));
  EXPECT_EQ(data("a_b_c"), ReadAll(Data("Low.wav")));
  EXPECT_EQ(data("Pattern_2"), ReadAll(Data("Pattern.wav")));
  FreeLibrary(m);
}

TEST_F(UnitPackTest, OtherFormatsAreStoredAsPcmWave) {
  const std::string dir = JBW_FORMAT_CLIPS;
  const std::string out = folder.File("Formats.BSU");
  ASSERT_EQ(Pack({"-o", out, "--id", "F", "--caption", "Formats", dir + "tone.flac=Flac",
                  dir + "tone.ogg=Ogg"}),
            0)
      << folder.Read("pack.log");
  HMODULE m = LoadLibraryA(out.c_str());
  ASSERT_NE(m, nullptr) << LastModuleError();
  auto flac = FindWaveResource(m, "tone");
  auto ogg = FindWaveResource(m, "tone_2");
  ASSERT_TRUE(flac && ogg);
  for (auto clip : {*flac, *ogg}) {
    auto wave = ParseWave(clip);
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->formatTag, 1);
    EXPECT_EQ(wave->sampleRate, 44100u);
  }
  // FLAC is lossless: the tone's own samples.
  const std::string tone = ReadAll(dir + "tone.wav");
  EXPECT_EQ(std::string(flac->end() - 52920, flac->end()), tone.substr(tone.size() - 52920));
  FreeLibrary(m);

  EXPECT_NE(Pack({"-o", out, "--id", "F", "--caption", "Formats", dir + "bad.flac"}), 0);
  EXPECT_NE(folder.Read("pack.log").find("bad.flac: not a sound file libsndfile can read"),
            std::string::npos)
      << folder.Read("pack.log");
}

TEST_F(UnitPackTest, BadInputsFailWithAMessageAndLeaveNoUnit) {
  folder.Write("text.wav", "not a sound\n");
  const std::string out = folder.File("Out.BSU");
  const std::string wav = Data("Low.wav");
  struct Case {
    const char* name;
    std::vector<std::string> args;
    int code;
  };
  const Case cases[] = {
      {"no output", {"--id", "X", "--caption", "C", wav}, 2},
      {"no clips", {"-o", out, "--id", "X", "--caption", "C"}, 2},
      {"bad identifier", {"-o", out, "--id", "X-Y", "--caption", "C", wav}, 2},
      {"caption with colon", {"-o", out, "--id", "X", "--caption", "A:B", wav}, 2},
      {"unknown option", {"-o", out, "--id", "X", "--caption", "C", "--loud", wav}, 2},
      {"not a WAV file", {"-o", out, "--id", "X", "--caption", "C", folder.File("text.wav")}, 1},
      {"missing file", {"-o", out, "--id", "X", "--caption", "C", folder.File("gone.wav")}, 1},
      {"clip caption with colon", {"-o", out, "--id", "X", "--caption", "C", wav + "=A:B"}, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Pack(c.args), c.code) << c.name;
    EXPECT_FALSE(folder.Read("pack.log").empty()) << c.name;
    EXPECT_FALSE(folder.Exists("Out.BSU")) << c.name;
  }
}

// The clips are served from a mapping of the file that an unload releases: a second
// reference keeps them readable, and a fresh load maps them again.
TEST_F(UnitPackTest, ClipsStayReadableWhileAnyReferenceHoldsTheUnit) {
  const std::string out = folder.File("Packed.BSU");
  ASSERT_EQ(Pack({"-o", out, "--id", "P", "--caption", "P", Data("Long.wav"), Data("Pattern.wav")}),
            0);
  const std::string pattern = ReadAll(Data("Pattern.wav"));
  for (int round = 0; round < 3; ++round) {
    HMODULE first = LoadLibraryA(out.c_str());
    HMODULE second = LoadLibraryA(out.c_str());
    ASSERT_TRUE(first && second) << LastModuleError();
    FreeLibrary(first);
    auto clip = FindWaveResource(second, "Pattern");
    ASSERT_TRUE(clip);
    EXPECT_EQ(std::string(clip->begin(), clip->end()), pattern) << round;
    FreeLibrary(second);
  }
  EXPECT_EQ(ReadAll("/proc/self/maps").find(out), std::string::npos);  // no mapping left
}

TEST_F(UnitPackTest, DamagedPayloadGivesAnEmptyUnitNotACrash) {
  const std::string out = folder.File("Packed.BSU");
  ASSERT_EQ(Pack({"-o", out, "--id", "P", "--caption", "P", Data("Long.wav")}), 0);
  const std::string whole = ReadAll(out);
  // Cut inside the clip data, and a trailer pointing past the file.
  std::string lying = whole;
  lying[lying.size() - 20] = '\x7f';
  for (const std::string& bytes : {whole.substr(0, whole.size() - 100), lying}) {
    folder.Write("Damaged.BSU", bytes);
    HMODULE m = LoadLibraryA(folder.File("Damaged.BSU").c_str());
    ASSERT_NE(m, nullptr) << LastModuleError();
    auto count = reinterpret_cast<JbwNumberofSoundsFn>(GetProcAddress(m, "NumberofSounds"));
    EXPECT_EQ(count(), 0);
    EXPECT_FALSE(FindWaveResource(m, "Long"));
    FreeLibrary(m);
  }
}

// Six copies of one clip: a payload big enough to be mapped on its own, and so unmapped
// as soon as it is freed, once small blocks stop being mapped.
class BigUnitTest : public UnitPackTest {
 protected:
  void SetUp() override {
    mallopt(M_MMAP_THRESHOLD, 64 * 1024);
    std::vector<std::string> args{"-o", unit, "--id", "P", "--caption", "P"};
    for (int i = 0; i < 6; ++i) args.push_back(Data("Pattern.wav"));
    ASSERT_EQ(Pack(args), 0) << folder.Read("pack.log");
  }
  const std::string unit = folder.File("Packed.BSU");
};

TEST_F(BigUnitTest, UnloadingGivesTheClipsBack) {
  const size_t mappedBefore = mallinfo2().hblkhd;
  HMODULE m = LoadLibraryA(unit.c_str());
  ASSERT_NE(m, nullptr) << LastModuleError();
  ASSERT_TRUE(FindWaveResource(m, "Pattern_6"));
  FreeLibrary(m);
  EXPECT_EQ(mallinfo2().hblkhd, mappedBefore);
}

TEST_F(BigUnitTest, ClipsStayReadableWhileTheProcessExits) {
  clipExpected = ReadAll(Data("Pattern.wav"));
  const std::string out = unit;
  EXPECT_EXIT(
      {
        // Registered before the load, so exit runs it after anything the unit registers.
        std::atexit(CheckClipAtExit);
        HMODULE m = LoadLibraryA(out.c_str());
        auto clip = m ? FindWaveResource(m, "Pattern_6") : std::nullopt;
        if (!clip) std::_Exit(2);
        clipAtExit = *clip;
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
