#include <gtest/gtest.h>

#include "settings/Microphone.h"
#include "settings/OutputDevice.h"
#include "support/TempFolder.h"

using namespace settings;

namespace {

constexpr char kTimer[] = "[Settings]\r\nSetTimer=5Mins\r\nSetCustom=7\r\n\r\n";

}  // namespace

TEST(Microphone, DefaultsReadWithoutWritingAndEachKeyAppearsOnlyOnceSet) {
  TempFolder app;
  app.Write("JBW.ini", kTimer);
  MicrophoneSetting setting = ReadMicrophone(app.Path());
  EXPECT_FALSE(setting.on);
  EXPECT_TRUE(setting.passthrough);
  EXPECT_EQ(app.Read("JBW.ini"), kTimer);

  SaveMicrophone(app.Path(), true);
  EXPECT_EQ(app.Read("JBW.ini"), std::string(kTimer) + "[Output]\r\nMicrophone=1\r\n\r\n");
  SaveMicPassthrough(app.Path(), false);
  setting = ReadMicrophone(app.Path());
  EXPECT_TRUE(setting.on);
  EXPECT_FALSE(setting.passthrough);
  SaveMicrophone(app.Path(), false);
  EXPECT_FALSE(ReadMicrophone(app.Path()).on);
}

TEST(Microphone, OutputDeviceComesAndGoesWithoutTakingTheMicrophoneAlong) {
  TempFolder app;
  app.Write("JBW.ini", kTimer);
  SaveMicrophone(app.Path(), true);
  SaveOutputDevice(app.Path(), "USB");
  SaveOutputDevice(app.Path(), "");
  EXPECT_EQ(app.Read("JBW.ini"), std::string(kTimer) + "[Output]\r\nMicrophone=1\r\n\r\n");
  EXPECT_TRUE(ReadMicrophone(app.Path()).on);
}

TEST(Microphone, MissingOrDamagedFileReadsAsOffAndSavingStartsFromTheDefaults) {
  TempFolder app;
  EXPECT_FALSE(ReadMicrophone(app.Path()).on);
  EXPECT_FALSE(app.Exists("JBW.ini"));
  app.Write("JBW.ini", "[Output]\r\nMicrophone=yes\r\n");
  EXPECT_FALSE(ReadMicrophone(app.Path()).on);
  std::filesystem::remove(app.File("JBW.ini"));
  SaveMicrophone(app.Path(), true);
  EXPECT_EQ(app.Read("JBW.ini"),
            "[Settings]\r\nSetTimer=Off\r\nSetCustom=3\r\n\r\n[Output]\r\nMicrophone=1\r\n\r\n");
}
