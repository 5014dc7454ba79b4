#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "ini/BigIni.h"
#include "rtl/RuntimeErrors.h"
#include "settings/NumberedList.h"
#include "settings/SettingsFiles.h"
#include "support/TempFolder.h"

using namespace settings;

TEST(SettingsFiles, DefaultContentIsWrittenByteForByte) {
  TempFolder app;
  CreateDefaultBsus(app.Path());
  CreateDefaultExternal(app.Path());
  CreateDefaultJbw(app.Path());
  EXPECT_EQ(app.Read("BSUs.ini"), "[Settings]\r\nNumberOfBSUs=0\r\n\r\n");
  EXPECT_EQ(app.Read("External.ini"),
            "[Settings]\r\nNumberOfSounds=0\r\nLastDir=" + app.Path() + "Wavs\r\n\r\n");
  EXPECT_EQ(app.Read("JBW.ini"), "[Settings]\r\nSetTimer=Off\r\nSetCustom=3\r\n\r\n");
}

TEST(SettingsFiles, AFolderWithTheFileNameIsNotASettingsFile) {
  TempFolder app;
  std::filesystem::create_directory(app.File("JBW.ini"));
  EXPECT_FALSE(SettingsFileExists(app.File("JBW.ini")));
  EXPECT_THROW(CreateDefaultJbw(app.Path()), rtl::EInOutError);
}

namespace {

// A folder below `base` whose name, with its separator, is `length` characters long.
std::string FolderOfLength(std::string folder, size_t length) {
  while (folder.size() < length) {
    folder += std::string(std::min<size_t>(100, length - folder.size() - 1), 'd') + "/";
    std::filesystem::create_directory(folder);
  }
  return folder;
}

size_t FilesBelow(const std::string& folder) {
  auto all = std::filesystem::recursive_directory_iterator(folder);
  return std::count_if(begin(all), end(all), [](const auto& e) { return e.is_regular_file(); });
}

}  // namespace

TEST(SettingsFiles, ALongFolderFindsTheFileTheEngineWrote) {
  TempFolder app;
  const std::string folder = FolderOfLength(app.Path(), 250);
  {
    ini::TBiggerIniFile units(SettingsPath(folder, kBsusIni));
    units.WriteString(kSettings, kNumberOfBsus, "2");
  }
  EXPECT_TRUE(SettingsFileExists(SettingsPath(folder, kBsusIni)));
  EXPECT_EQ(FilesBelow(app.Path()), 1u);
}

TEST(SettingsFiles, AFolderWithNoRoomForTheNamesIsAnErrorAndNothingIsWritten) {
  TempFolder app;
  const std::string longest = FolderOfLength(app.Path(), 254);
  CreateDefaultJbw(longest);
  EXPECT_EQ(FilesBelow(longest), 1u);
  for (size_t length : {255, 300}) {
    TempFolder other;
    const std::string folder = FolderOfLength(other.Path(), length);
    EXPECT_THROW(CreateDefaultBsus(folder), rtl::Exception) << length;
    EXPECT_THROW(CreateDefaultExternal(folder), rtl::Exception) << length;
    EXPECT_THROW(CreateDefaultJbw(folder), rtl::Exception) << length;
    EXPECT_EQ(FilesBelow(other.Path()), 0u) << length;
  }
}

TEST(NumberedList, CountsAreCappedAtTheSlotLimitAndMissingKeysGiveEmptyEntries) {
  TempFolder app;
  app.Write("BSUs.ini",
            "[Settings]\r\nNumberOfBSUs=5\r\n[BSU-List]\r\n1=a\r\n2=b\r\n3=c\r\n4=d\r\n5=e\r\n");
  app.Write("External.ini",
            "[Settings]\r\nNumberOfSounds=4\r\n[Sound-List]\r\n01=zero\r\n2=b.wav\r\n"
            "[Sound-Menu]\r\n2=Bee\r\n3=Orphan\r\n");
  ini::TBiggerIniFile bsus(app.File("BSUs.ini"));
  EXPECT_EQ(ReadUnitList(bsus, kUnitSlotLimit), (std::vector<std::string>{"a", "b", "c"}));
  ini::TBiggerIniFile ext(app.File("External.ini"));
  const auto sounds = ReadExternalList(ext, kExternalSlotLimit);
  ASSERT_EQ(sounds.size(), 4u);
  EXPECT_EQ(sounds[0].path, "");  // "01" is not key "1"
  EXPECT_EQ(sounds[1].path, "b.wav");
  EXPECT_EQ(sounds[1].caption, "Bee");
  EXPECT_EQ(sounds[2].path, "");
  EXPECT_EQ(sounds[2].caption, "Orphan");
  EXPECT_EQ(sounds[3].caption, "");
}

TEST(NumberedList, ZeroNegativeAndMissingCountsReadNothing) {
  TempFolder app;
  for (const char* count : {"0", "-3"}) {
    app.Write("External.ini", std::string("[Settings]\r\nNumberOfSounds=") + count +
                                  "\r\n[Sound-List]\r\n1=a.wav\r\n");
    ini::TBiggerIniFile ext(app.File("External.ini"));
    EXPECT_TRUE(ReadExternalList(ext, kExternalSlotLimit).empty()) << count;
  }
  ini::TBiggerIniFile missing(app.File("nothing.ini"));
  EXPECT_TRUE(ReadUnitList(missing, kUnitSlotLimit).empty());
}

TEST(NumberedList, ACountThatIsNotAWholeNumberRaisesTheConversionError) {
  TempFolder app;
  for (const auto& [value, message] :
       {std::pair<std::string, std::string>{"abc", "'abc' is not a valid integer value"},
        {"", "'' is not a valid integer value"},
        {"3x", "'3x' is not a valid integer value"}}) {
    app.Write("BSUs.ini", "[Settings]\r\nNumberOfBSUs=" + value + "\r\n");
    ini::TBiggerIniFile bsus(app.File("BSUs.ini"));
    try {
      ReadUnitList(bsus, kUnitSlotLimit);
      ADD_FAILURE() << "no error for '" << value << "'";
    } catch (const rtl::EConvertError& e) {
      EXPECT_EQ(e.Message(), message);
    }
  }
}

TEST(NumberedList, HexadecimalCountsConvertAsTheRuntimeDoes) {
  TempFolder app;
  app.Write("BSUs.ini", "[Settings]\r\nNumberOfBSUs=$2\r\n[BSU-List]\r\n1=a\r\n2=b\r\n3=c\r\n");
  ini::TBiggerIniFile bsus(app.File("BSUs.ini"));
  EXPECT_EQ(ReadUnitList(bsus, kUnitSlotLimit).size(), 2u);
}
