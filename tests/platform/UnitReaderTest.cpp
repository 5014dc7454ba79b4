#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/DynamicModule.h"
#include "platform/ModuleResources.h"
#include "platform/linux/unitreader/ReaderAnswer.h"
#include "support/TempFolder.h"

using namespace platform;

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The name of what is mapped at `p` in this process, from /proc/self/maps.
std::string MappedAt(const void* p) {
  std::ifstream maps("/proc/self/maps");
  const auto at = reinterpret_cast<uintptr_t>(p);
  for (std::string line; std::getline(maps, line);) {
    unsigned long start = 0, end = 0;
    if (std::sscanf(line.c_str(), "%lx-%lx", &start, &end) != 2 || at < start || at >= end)
      continue;
    const size_t slash = line.find('/');
    return slash == std::string::npos ? "" : line.substr(slash);
  }
  return "";
}

HMODULE LoadAsData(const std::string& path) {
  return LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
}

std::string Clip(HMODULE unit, const char* name) {
  auto bytes = FindWaveResource(unit, name);
  return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

class UnitReaderTest : public ::testing::Test {
 protected:
  std::string Data(const char* name) const { return std::string(JBW_TEST_DATA) + name; }
  std::string Pack(const std::string& out) const {
    const std::string command = std::string(JBW_UNIT_PACK) + " --template " + JBW_UNIT_TEMPLATE +
                                " -o " + out + " --id Packed --caption Packed " +
                                Data("Pattern.wav") + " >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
    return out;
  }
  TempFolder folder;
};

// A kit unit's strings come from the reader, its clips from the board's own read-only
// mapping of the unit file; the unit is never loaded into this process.
TEST_F(UnitReaderTest, KitUnitIsReadInTheReaderAndPlaysFromItsFile) {
  HMODULE unit = LoadAsData(JBW_TEST_UNIT);
  ASSERT_NE(unit, nullptr) << LastModuleError();
  const SoundUnitStrings* strings = GetSoundUnitStrings(unit);
  ASSERT_NE(strings, nullptr);
  EXPECT_EQ(strings->header, "TestUnit:Test Sounds");
  EXPECT_EQ(strings->clips, (std::vector<std::string>{"Pattern:Stereo Pattern", "Long:A Long One",
                                                      "Odd:Name:Low Tone"}));
  EXPECT_EQ(Clip(unit, "pattern"), ReadAll(Data("Pattern.wav")));
  EXPECT_EQ(Clip(unit, "Odd:Name"), ReadAll(Data("Low.wav")));
  EXPECT_EQ(MappedAt(FindWaveResource(unit, "Long")->data()),
            std::filesystem::canonical(JBW_TEST_UNIT).string());
  EXPECT_FALSE(FindModuleResource(unit, "Long", "BITMAP"));
  EXPECT_EQ(GetProcAddress(unit, "NumberofSounds"), nullptr);
  EXPECT_EQ(dlopen(JBW_TEST_UNIT, RTLD_NOW | RTLD_NOLOAD), nullptr);
  EXPECT_EQ(FreeLibrary(unit), 1);
}

// Clips a unit keeps in memory of its own come through a sealed memory file.
TEST_F(UnitReaderTest, ClipsOutsideTheFileComeThroughAMemoryFile) {
  HMODULE unit = LoadAsData(std::string(JBW_MISBEHAVING_DIR) + "/Copied.BSU");
  ASSERT_NE(unit, nullptr) << LastModuleError();
  const std::string clip = Clip(unit, "Bad2");
  EXPECT_EQ(clip.substr(0, 4), "RIFF");
  EXPECT_EQ(clip.size(), 48u);
  EXPECT_EQ(MappedAt(FindWaveResource(unit, "Bad2")->data()).rfind("/memfd:jbw-unit-clips", 0), 0u);
  FreeLibrary(unit);
}

// The reader hands a unit nothing of the board's: no environment, and no descriptor
// but its own five, even one the board left open across exec.
TEST_F(UnitReaderTest, TheUnitGetsNoEnvironmentAndNoDescriptorsOfTheBoard) {
  const int inheritable = open("/dev/null", O_RDONLY);
  ASSERT_GE(inheritable, 0);
  HMODULE unit = LoadAsData(std::string(JBW_MISBEHAVING_DIR) + "/Peeks.BSU");
  close(inheritable);
  ASSERT_NE(unit, nullptr) << LastModuleError();
  EXPECT_EQ(GetSoundUnitStrings(unit)->header, "Peek:env 0 fds 0 1 2 3 4 5");
  FreeLibrary(unit);
}

// A packed unit is data: it reads even with no reader to run it.
TEST_F(UnitReaderTest, PackedUnitIsReadAsDataWithoutTheReader) {
  const std::string packed = Pack(folder.File("Packed.BSU"));
  setenv("JBW_UNIT_READER", "/nonexistent/jbw-unit-reader", 1);
  HMODULE unit = LoadAsData(packed);
  ASSERT_NE(unit, nullptr) << LastModuleError();
  EXPECT_EQ(GetSoundUnitStrings(unit)->header, "Packed:Packed");
  EXPECT_EQ(GetSoundUnitStrings(unit)->clips, std::vector<std::string>{"Pattern:Pattern"});
  EXPECT_EQ(Clip(unit, "PATTERN"), ReadAll(Data("Pattern.wav")));
  EXPECT_EQ(dlopen(packed.c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr);
  FreeLibrary(unit);

  EXPECT_EQ(LoadAsData(JBW_TEST_UNIT), nullptr);
  EXPECT_NE(LastModuleError().find("cannot start the unit reader"), std::string::npos);

  // A damaged payload is not read at all.
  std::string damaged = ReadAll(packed);
  damaged.resize(damaged.size() - 30);
  damaged += ReadAll(packed).substr(damaged.size() + 6);
  folder.Write("Damaged.BSU", damaged);
  EXPECT_EQ(LoadAsData(folder.File("Damaged.BSU")), nullptr);
}

// Kept readings serve an unchanged unit; a unit renamed over the old one is read again.
TEST_F(UnitReaderTest, AUnitRenamedOverTheOldOneIsReadAgain) {
  const std::string path = folder.File("Unit.BSU");
  std::filesystem::copy_file(JBW_TEST_UNIT, path);
  HMODULE first = LoadAsData(path);
  HMODULE again = LoadAsData(path);
  ASSERT_TRUE(first && again) << LastModuleError();
  EXPECT_EQ(GetSoundUnitStrings(first), GetSoundUnitStrings(again));

  std::filesystem::rename(Pack(folder.File("New.BSU")), path);
  HMODULE renewed = LoadAsData(path);
  ASSERT_NE(renewed, nullptr) << LastModuleError();
  EXPECT_EQ(GetSoundUnitStrings(renewed)->header, "Packed:Packed");
  // The old reading stays whole for whoever still holds it.
  EXPECT_EQ(Clip(first, "Pattern"), ReadAll(Data("Pattern.wav")));
  for (HMODULE m : {first, again, renewed}) FreeLibrary(m);
}

// The board checks the reader's answer against the files it knows before it maps
// anything: a clip must lie within its file, and no count or byte may be left over.
TEST(ReaderAnswerTest, AnswersThatPointOutsideTheirFilesAreRefused) {
  ReaderAnswer good;
  good.read = true;
  good.header = "Id:Caption";
  good.clips = {{"A:One", ReaderAnswer::Where::UnitFile, 100, 50},
                {"B:Two", ReaderAnswer::Where::MemoryFile, 0, 40},
                {"C:Three", ReaderAnswer::Where::None, 0, 0}};
  good.memoryUsed = 40;
  const auto Parse = [](const ReaderAnswer& answer, uint64_t unitSize = 150) {
    const std::string bytes = EncodeReaderAnswer(answer);
    std::string why;
    return ParseReaderAnswer({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()},
                             unitSize, 64, &why);
  };
  ASSERT_TRUE(Parse(good));
  EXPECT_EQ(Parse(good)->clips[1].text, "B:Two");
  EXPECT_FALSE(Parse(good, 149));  // the first clip runs past the unit file

  auto lying = good;
  lying.clips[1].offset = 1;  // past what the memory file holds
  EXPECT_FALSE(Parse(lying));
  lying = good;
  lying.memoryUsed = 65;  // more than the memory file
  EXPECT_FALSE(Parse(lying));
  lying = good;
  lying.clips[0].length = 0;
  EXPECT_FALSE(Parse(lying));
  lying = good;
  lying.clips[0].offset = ~uint64_t{0};  // wraps around
  EXPECT_FALSE(Parse(lying));

  std::string bytes = EncodeReaderAnswer(good);
  std::string why;
  const auto parse = [&](const std::string& b) {
    return ParseReaderAnswer({reinterpret_cast<const uint8_t*>(b.data()), b.size()}, 150, 64, &why);
  };
  EXPECT_FALSE(parse(bytes + "x"));
  EXPECT_FALSE(parse(bytes.substr(0, bytes.size() - 1)));
  bytes[9 + 4 + good.header.size()] = '\xff';  // a clip count the answer cannot hold
  EXPECT_FALSE(parse(bytes));

  ReaderAnswer refused;
  refused.why = "it lacks NumberofSounds or SoundsList";
  ASSERT_TRUE(Parse(refused));
  EXPECT_FALSE(Parse(refused)->read);
  EXPECT_EQ(Parse(refused)->why, refused.why);
}

}  // namespace
