// The board's control service and the calls the command line makes to it, both in this
// process: the call waits on a thread of its own while the service answers here.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <future>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/CallbackGuard.h"
#include "platform/RemoteControlClient.h"
#include "platform/RemoteControlNames.h"
#include "platform/RemoteControlService.h"

using namespace platform;
using Status = RemoteCallResult::Status;

namespace {

const std::string kFolder = "/home/user/.local/share/jabberwell/";

// Records the calls; Play answers as the board would, the rest as `answer` says.
class FakeCommands : public RemoteCommands {
 public:
  RemoteAnswer Play(const std::string& entry) override {
    calls.push_back("Play " + entry);
    if (entry != "External Sounds/Door") {
      return RemoteAnswer::Refused(kRemoteErrorNoSuchEntry, "no such entry: " + entry);
    }
    return RemoteAnswer::Accepted([this, entry] { actions.push_back("played " + entry); });
  }
  RemoteAnswer PlayRandom() override { return Record("PlayRandom"); }
  RemoteAnswer Stop() override { return Record("Stop"); }
  RemoteAnswer SetTimer(const std::string& mode) override { return Record("SetTimer " + mode); }
  RemoteAnswer ShowMenu() override { return Record("ShowMenu"); }
  std::vector<std::string> List() override {
    if (throwing) throw std::runtime_error("lists are broken");
    return {"External Sounds/Door", "Demo Sounds/Beep"};
  }
  RemoteAnswer Quit() override { return Record("Quit"); }
  RemoteAnswer SetOutputDevice(const std::string& name) override {
    return Record("SetOutputDevice " + name);
  }
  RemoteAnswer SetMicrophone(bool on) override {
    return Record(std::string("SetMicrophone ") + (on ? "on" : "off"));
  }
  RemoteAnswer SetMicPassthrough(bool on) override {
    return Record(std::string("SetMicPassthrough ") + (on ? "on" : "off"));
  }

  RemoteAnswer Record(const std::string& call) {
    calls.push_back(call);
    if (throwing) throw std::runtime_error("the board is broken");
    if (shut) return RemoteAnswer::Refused(kRemoteErrorMenuShut, "the menu is shut");
    return RemoteAnswer::Accepted([this, call] {
      if (failingAction) throw std::runtime_error("the action failed");
      actions.push_back(call);
    });
  }

  std::vector<std::string> calls, actions;
  bool shut = false, throwing = false, failingAction = false;
};

class RemoteControl : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "platform_remote_control_test";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
  }

  // A call from outside, answered by this thread's event loop; the queued actions have
  // run once it returns.
  RemoteCallResult Call(const char* method, std::vector<std::string> arguments = {},
                        const std::string& folder = kFolder) {
    return Await([&] { return CallRemoteControl(folder, method, arguments); });
  }
  RemoteCallResult CallSwitch(const char* method, bool on) {
    return Await([&] { return CallRemoteControlSwitch(kFolder, method, on); });
  }
  template <typename Caller>
  RemoteCallResult Await(Caller caller) {
    auto pending = std::async(std::launch::async, caller);
    while (pending.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) {
      QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    return pending.get();
  }

  // The board's service for kFolder, answering through `commands`.
  void Serve(RemoteControlService& service) {
    ASSERT_EQ(service.ClaimName(), RemoteControlService::Claim::Claimed);
    service.SetCommands(&commands);
  }

  FakeCommands commands;
};

TEST_F(RemoteControl, EachFolderHasItsOwnValidBusName) {
  const std::string name = RemoteControlServiceName(kFolder);
  EXPECT_EQ(name, RemoteControlServiceName(kFolder));
  EXPECT_NE(name, RemoteControlServiceName("/opt/jabberwell/"));
  EXPECT_NE(name, RemoteControlServiceName(kFolder.substr(0, kFolder.size() - 1)));
  // Bus name elements: letters, digits, "_" and "-", never a digit first.
  const std::string last = name.substr(name.rfind('.') + 1);
  EXPECT_FALSE(std::isdigit(static_cast<unsigned char>(last[0])));
  EXPECT_EQ(
      name.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789._-"),
      std::string::npos);
  EXPECT_EQ(RemoteControlServiceName("").size(), name.size());
}

TEST_F(RemoteControl, OneBoardPerFolderAndTheNameIsFreeAgainOnceItEnds) {
  {
    RemoteControlService first(kFolder);
    ASSERT_EQ(first.ClaimName(), RemoteControlService::Claim::Claimed);
    RemoteControlService second(kFolder);
    EXPECT_EQ(second.ClaimName(), RemoteControlService::Claim::AlreadyRunning);
    RemoteControlService elsewhere("/opt/jabberwell/");
    EXPECT_EQ(elsewhere.ClaimName(), RemoteControlService::Claim::Claimed);
  }
  RemoteControlService again(kFolder);
  EXPECT_EQ(again.ClaimName(), RemoteControlService::Claim::Claimed);
}

TEST_F(RemoteControl, CallsReachTheCommandsAndTheirActionsRunAfterTheAnswer) {
  RemoteControlService service(kFolder);
  Serve(service);

  EXPECT_EQ(Call("Play", {"External Sounds/Door"}).status, Status::Done);
  EXPECT_EQ(Call("PlayRandom").status, Status::Done);
  EXPECT_EQ(Call("Stop").status, Status::Done);
  EXPECT_EQ(Call("SetTimer", {"5Mins"}).status, Status::Done);
  EXPECT_EQ(Call("ShowMenu").status, Status::Done);
  EXPECT_EQ(Call("Quit").status, Status::Done);
  const std::vector<std::string> expected{"PlayRandom", "Stop", "SetTimer 5Mins", "ShowMenu",
                                          "Quit"};
  EXPECT_EQ(commands.calls.front(), "Play External Sounds/Door");
  EXPECT_EQ(std::vector<std::string>(commands.calls.begin() + 1, commands.calls.end()), expected);
  EXPECT_EQ(commands.actions.front(), "played External Sounds/Door");
  EXPECT_EQ(std::vector<std::string>(commands.actions.begin() + 1, commands.actions.end()),
            expected);

  const RemoteCallResult listed = Call("List");
  EXPECT_EQ(listed.status, Status::Done);
  EXPECT_EQ(listed.entries, (std::vector<std::string>{"External Sounds/Door", "Demo Sounds/Beep"}));
}

TEST_F(RemoteControl, MicrophoneCallsCarryABooleanAndNothingElse) {
  RemoteControlService service(kFolder);
  Serve(service);

  EXPECT_EQ(CallSwitch("SetMicrophone", true).status, Status::Done);
  EXPECT_EQ(CallSwitch("SetMicPassthrough", false).status, Status::Done);
  EXPECT_EQ(CallSwitch("SetMicrophone", false).status, Status::Done);
  // The word the command line takes is its own business, not the service's.
  EXPECT_EQ(Call("SetMicrophone", {"on"}).status, Status::Refused);
  const std::vector<std::string> expected{"SetMicrophone on", "SetMicPassthrough off",
                                          "SetMicrophone off"};
  EXPECT_EQ(commands.calls, expected);
  EXPECT_EQ(commands.actions, expected);
}

TEST_F(RemoteControl, RefusalsComeBackWithTheirNameAndMessageAndDoNothing) {
  RemoteControlService service(kFolder);
  Serve(service);

  RemoteCallResult result = Call("Play", {"Demo Sounds/Nothing"});
  EXPECT_EQ(result.status, Status::Refused);
  EXPECT_EQ(result.errorName, kRemoteErrorNoSuchEntry);
  EXPECT_EQ(result.message, "no such entry: Demo Sounds/Nothing");

  commands.shut = true;
  result = Call("PlayRandom");
  EXPECT_EQ(result.status, Status::Refused);
  EXPECT_EQ(result.errorName, kRemoteErrorMenuShut);
  EXPECT_EQ(result.message, "the menu is shut");
  EXPECT_TRUE(commands.actions.empty());

  // A method the service does not have is D-Bus's own refusal.
  result = Call("Louder");
  EXPECT_EQ(result.status, Status::Refused);
  EXPECT_FALSE(result.errorName.empty());
}

TEST_F(RemoteControl, ErrorsNeverPassIntoQt) {
  RemoteControlService service(kFolder);
  Serve(service);
  std::vector<std::string> guarded;
  SetCallbackGuard([&](const std::function<void()>& action) {
    try {
      action();
    } catch (const std::exception& e) {
      guarded.push_back(e.what());
    }
  });

  // An action that fails is the default error handler's, as a menu click's would be.
  commands.failingAction = true;
  EXPECT_EQ(Call("Stop").status, Status::Done);
  EXPECT_EQ(guarded, std::vector<std::string>{"the action failed"});

  // A command that fails before answering tells the caller.
  commands.throwing = true;
  RemoteCallResult result = Call("Stop");
  EXPECT_EQ(result.status, Status::Refused);
  EXPECT_EQ(result.message, "the board is broken");
  result = Call("List");
  EXPECT_EQ(result.status, Status::Refused);
  EXPECT_EQ(result.message, "lists are broken");
  SetCallbackGuard(nullptr);
}

TEST_F(RemoteControl, UntilTheBoardIsReadyEveryCallIsRefusedButQuit) {
  RemoteControlService service(kFolder);
  ASSERT_EQ(service.ClaimName(), RemoteControlService::Claim::Claimed);
  int quits = 0;
  service.SetQuitWhileStarting([&] { ++quits; });

  EXPECT_EQ(Call("Stop").errorName, kRemoteErrorMenuShut);
  EXPECT_EQ(Call("List").message, "Jabberwell is still starting");
  EXPECT_EQ(Call("Quit").status, Status::Done);
  EXPECT_EQ(quits, 1);
}

// (Without a bus at all: the command-line journey, since libdbus reads the address once.)
TEST_F(RemoteControl, ABoardOfAnotherFolderIsNotRunningForThisOne) {
  RemoteControlService service(kFolder);
  Serve(service);
  EXPECT_EQ(Call("Stop", {}, "/opt/jabberwell/").status, Status::NotRunning);
  EXPECT_TRUE(commands.calls.empty());
}

}  // namespace
