// Calls from outside as the board takes them: refused while the menu is shut (but Stop,
// List and Quit), otherwise the handlers of the matching menu entries. The middle button
// on the tray icon stops the sound as Stop does.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "ConfigFixture.h"
#include "app/RemoteControl.h"
#include "app/Splash.h"
#include "platform/Observation.h"
#include "platform/RemoteControlNames.h"
#include "platform/SoundOutput.h"
#include "toolkit/Timer.h"

namespace {

using platform::RemoteAnswer;

// `seconds` of a loud square wave, 8 kHz mono, so that it plays well past the checks.
std::string SquareWave(int seconds) {
  const uint32_t samples = 8000u * static_cast<uint32_t>(seconds);
  auto le = [](uint32_t v, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xff);
    return out;
  };
  std::string wav = "RIFF" + le(36 + samples * 2, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) +
                    le(1, 2) + le(8000, 4) + le(16000, 4) + le(2, 2) + le(16, 2) + "data" +
                    le(samples * 2, 4);
  for (uint32_t i = 0; i < samples; ++i) wav += le((i / 10) % 2 ? 0x3000 : 0xd000, 2);
  return wav;
}

class RemoteControlTest : public ConfigTest {
 protected:
  void StartWithOneSound() {
    folder.Write("long.wav", SquareWave(20));
    folder.Write("External.ini", "[Settings]\r\nNumberOfSounds=1\r\n[Sound-List]\r\n1=" +
                                     folder.File("long.wav") + "\r\n[Sound-Menu]\r\n1=Long\r\n");
    Start(true);
    platform::PlaySoundA(nullptr, 0, 0);  // the clip played at start
    remote = std::make_unique<app::TRemoteControl>(*config);
  }
  void TearDown() override {
    platform::PlaySoundA(nullptr, 0, 0);
    remote.reset();
    ConfigTest::TearDown();
  }
  // The answer's action, if any, run as the service runs it once the caller has its
  // answer; false for a refusal.
  static bool Run(const RemoteAnswer& answer) {
    if (!answer.errorName.empty()) return false;
    if (answer.action) tk::Guard(answer.action);
    return true;
  }

  std::unique_ptr<app::TRemoteControl> remote;
};

TEST_F(RemoteControlTest, WhileTheSplashShowsOnlyStopListAndQuitAreTaken) {
  StartWithOneSound();
  ASSERT_FALSE(AutoPopup());
  for (const RemoteAnswer& answer : {remote->Play("External Sounds/Long"), remote->PlayRandom(),
                                     remote->SetTimer("5Mins"), remote->ShowMenu()}) {
    EXPECT_EQ(answer.errorName, platform::kRemoteErrorMenuShut);
    EXPECT_EQ(answer.message, "Not available while a Jabberwell window is open");
  }
  EXPECT_TRUE(Run(remote->Stop()));
  EXPECT_TRUE(Run(remote->SetOutputDevice("Headset")));
  EXPECT_NE(folder.Read("JBW.ini").find("[Output]\r\nDevice=Headset\r\n"), std::string::npos);
  EXPECT_TRUE(remote->Quit().action != nullptr);
  EXPECT_EQ(remote->List(), std::vector<std::string>{"External Sounds/Long"});
  // A wrong argument is wrong whether or not the menu is shut.
  EXPECT_EQ(remote->Play("External Sounds/Short").errorName, platform::kRemoteErrorNoSuchEntry);
  EXPECT_EQ(remote->SetTimer("5mins").errorName, platform::kRemoteErrorUnknownMode);
  EXPECT_EQ(remote->SetTimer("").errorName, platform::kRemoteErrorUnknownMode);
  EXPECT_EQ(popups, 0);
  EXPECT_NE(folder.Read("JBW.ini").find("SetTimer=Off"), std::string::npos);
}

TEST_F(RemoteControlTest, PlayTimerAndMenuRunTheEntriesHandlers) {
  StartWithOneSound();
  config->FormSplash->Timer->Fire();
  ASSERT_TRUE(AutoPopup());

  EXPECT_TRUE(Run(remote->SetTimer("5Mins")));
  EXPECT_EQ(folder.Read("JBW.ini"), "[Settings]\r\nSetTimer=5Mins\r\nSetCustom=3\r\n\r\n");
  EXPECT_TRUE(config->TimerMenu.SubMenu5Mins->Checked());
  EXPECT_EQ(config->Timer->Interval(), 300000);

  EXPECT_TRUE(Run(remote->Play("External Sounds/Long")));
  EXPECT_TRUE(platform::IsSoundPlaying());
  EXPECT_TRUE(Run(remote->Stop()));
  EXPECT_FALSE(platform::IsSoundPlaying());
  EXPECT_EQ(config->Timer->Interval(), 300000);

  EXPECT_TRUE(Run(remote->ShowMenu()));
  EXPECT_EQ(popups, 1);
  EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(RemoteControlTest, AnActionWaitingWhileTheMenuShutsOrIsRebuiltDoesNothing) {
  StartWithOneSound();
  config->FormSplash->Timer->Fire();

  RemoteAnswer play = remote->Play("External Sounds/Long");
  config->ReadSettings(config.get());
  EXPECT_TRUE(Run(play));
  EXPECT_FALSE(platform::IsSoundPlaying());

  // The timer is set and saved before the answer, so nothing of it is left waiting.
  RemoteAnswer timer = remote->SetTimer("2Mins");
  EXPECT_FALSE(timer.action);
  EXPECT_TRUE(config->TimerMenu.SubMenu2Mins->Checked());
  EXPECT_NE(folder.Read("JBW.ini").find("SetTimer=2Mins"), std::string::npos);
}

TEST_F(RemoteControlTest, TheMiddleButtonOnTheIconStopsTheSoundAndNothingElse) {
  StartWithOneSound();
  config->FormSplash->Timer->Fire();
  EXPECT_TRUE(Run(remote->SetTimer("2Mins")));
  auto press = [&](platform::WPARAM id, platform::LPARAM button) {
    platform::SendMessageA(config->Handle(), tray::TwkTray::TrayCallbackMessage, id, button);
  };

  EXPECT_TRUE(Run(remote->Play("External Sounds/Long")));
  press(config->wkTray->TrayID() + 1, platform::WM_MBUTTONDOWN);  // another icon's
  EXPECT_TRUE(platform::IsSoundPlaying());
  press(config->wkTray->TrayID(), platform::WM_MBUTTONDOWN);
  EXPECT_FALSE(platform::IsSoundPlaying());
  EXPECT_EQ(config->Timer->Interval(), 120000);
  EXPECT_EQ(popups, 0);

  // Also while a window of the program is open.
  EXPECT_TRUE(Run(remote->Play("External Sounds/Long")));
  config->MenuConfigClick(nullptr);
  press(config->wkTray->TrayID(), platform::WM_MBUTTONDOWN);
  EXPECT_FALSE(platform::IsSoundPlaying());
}

TEST_F(RemoteControlTest, MicrophoneWithoutASoundServerIsRefusedAndNothingIsStored) {
  StartWithOneSound();
  const std::string before = folder.Read("JBW.ini");
  const RemoteAnswer on = remote->SetMicrophone(true);
  EXPECT_EQ(on.errorName, platform::kRemoteErrorNoSoundServer);
  EXPECT_NE(on.message.find("no PipeWire or PulseAudio sound server"), std::string::npos);
  EXPECT_EQ(folder.Read("JBW.ini"), before);

  // Off and the passthrough need no server, and are kept; also while a window is open.
  EXPECT_TRUE(Run(remote->SetMicPassthrough(false)));
  EXPECT_TRUE(Run(remote->SetMicrophone(false)));
  EXPECT_EQ(folder.Read("JBW.ini"),
            before + "[Output]\r\nMicPassthrough=0\r\nMicrophone=0\r\n\r\n");
}

}  // namespace
