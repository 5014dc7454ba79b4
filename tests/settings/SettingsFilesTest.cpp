#include <gtest/gtest.h>

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
