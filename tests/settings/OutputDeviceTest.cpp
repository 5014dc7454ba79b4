#include <gtest/gtest.h>

#include <filesystem>

#include "settings/OutputDevice.h"
#include "support/TempFolder.h"

using namespace settings;

TEST(OutputDevice, ChosenKeptAndForgottenWithoutTouchingTheTimer) {
  TempFolder app;
  app.Write("JBW.ini", "[Settings]\r\nSetTimer=5Mins\r\nSetCustom=7\r\n\r\n");
  EXPECT_EQ(ReadOutputDevice(app.Path()), "");

  SaveOutputDevice(app.Path(), "Null Output = chat mic");
  EXPECT_EQ(app.Read("JBW.ini"),
            "[Settings]\r\nSetTimer=5Mins\r\nSetCustom=7\r\n\r\n"
            "[Output]\r\nDevice=Null Output = chat mic\r\n\r\n");
  EXPECT_EQ(ReadOutputDevice(app.Path()), "Null Output = chat mic");

  SaveOutputDevice(app.Path(), "");
  EXPECT_EQ(app.Read("JBW.ini"), "[Settings]\r\nSetTimer=5Mins\r\nSetCustom=7\r\n\r\n");
  EXPECT_EQ(ReadOutputDevice(app.Path()), "");
}

TEST(OutputDevice, WithoutJbwIniReadingCreatesNothingAndChoosingStartsFromTheDefaults) {
  TempFolder app;
  EXPECT_EQ(ReadOutputDevice(app.Path()), "");
  EXPECT_FALSE(app.Exists("JBW.ini"));
  SaveOutputDevice(app.Path(), "");
  EXPECT_EQ(app.Read("JBW.ini"), "[Settings]\r\nSetTimer=Off\r\nSetCustom=3\r\n\r\n");
  std::filesystem::remove(app.File("JBW.ini"));
  SaveOutputDevice(app.Path(), "USB");
  EXPECT_EQ(app.Read("JBW.ini"),
            "[Settings]\r\nSetTimer=Off\r\nSetCustom=3\r\n\r\n[Output]\r\nDevice=USB\r\n\r\n");
}
