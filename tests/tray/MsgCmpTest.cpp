#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/WindowHandles.h"
#include "tray/MsgCmpList.h"
#include "tray/wkMsgCmp.h"

using namespace platform;
using tray::MsgCmpList;
using tray::MsgCmpWndProc;

namespace {

constexpr UINT kMsg = WM_USER + 7;

std::vector<std::string> events;

// A window's own procedure: logs and answers 42.
LRESULT OwnProc(HWND, UINT msg, WPARAM, LPARAM) {
  events.push_back("own:" + std::to_string(msg));
  return 42;
}

class Probe : public tray::TwkMsgComponent {
 public:
  Probe(tk::TComponent* owner, std::string name) : TwkMsgComponent(owner), name_(std::move(name)) {}
  void DefaultHandler(tk::TMessage& m) override {
    events.push_back(name_ + ":" + std::to_string(m.Msg) + ":" + std::to_string(m.Result));
    m.Result = m.Result * 10 + 1;
  }

 private:
  std::string name_;
};

class MsgCmpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    events.clear();
    window = CreateWindowHandle(&OwnProc, nullptr);
  }
  void TearDown() override { DestroyWindowHandle(window); }

  HWND window = 0;
};

TEST_F(MsgCmpTest, ComponentsSeeMessagesInOrderAndTheOwnProcedureAnswersLast) {
  Probe a(nullptr, "a"), b(nullptr, "b");
  a.SetWindowHandle(window);
  b.SetWindowHandle(window);
  EXPECT_EQ(LongToProc(GetWindowLongA(window, GWL_WNDPROC)), &MsgCmpWndProc);

  EXPECT_EQ(SendMessageA(window, kMsg, 0, 0), 42);
  const std::string m = std::to_string(kMsg);
  // b receives the result a left; the own procedure's answer replaces both.
  EXPECT_EQ(events, (std::vector<std::string>{"a:" + m + ":0", "b:" + m + ":1", "own:" + m}));
}

TEST_F(MsgCmpTest, MovingToAnotherWindowLeavesTheFirstSubclassedButQuiet) {
  const HWND other = CreateWindowHandle(&OwnProc, nullptr);
  Probe a(nullptr, "a");
  a.SetWindowHandle(window);
  a.SetWindowHandle(other);

  EXPECT_EQ(LongToProc(GetWindowLongA(window, GWL_WNDPROC)), &MsgCmpWndProc);
  EXPECT_EQ(SendMessageA(window, kMsg, 0, 0), 42);
  EXPECT_EQ(events, (std::vector<std::string>{"own:" + std::to_string(kMsg)}));

  events.clear();
  SendMessageA(other, kMsg, 0, 0);
  EXPECT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].substr(0, 2), "a:");

  a.SetWindowHandle(0);
  DestroyWindowHandle(other);
}

TEST_F(MsgCmpTest, DetachThenAttachAppendsANewRecord) {
  Probe a(nullptr, "a");
  const int first = a.AttachWindow(window);
  EXPECT_EQ(a.DetachWindow(window), first);
  EXPECT_EQ(a.DetachWindow(window), -1);
  const int second = a.AttachWindow(window);

  EXPECT_GT(second, first);
  EXPECT_EQ(MsgCmpList.Items(first).Component, nullptr);
  EXPECT_EQ(MsgCmpList.Items(second).Component, &a);
  EXPECT_EQ(MsgCmpList.FindNextHook(window, first), second);
  EXPECT_EQ(a.WindowHandle(), 0u);

  SendMessageA(window, kMsg, 0, 0);
  EXPECT_EQ(events.size(), 2u);  // once for the component, once for the own procedure
}

TEST_F(MsgCmpTest, ADestroyingComponentGetsNoMoreMessages) {
  struct Noisy : Probe {
    using Probe::Probe;
    ~Noisy() override { SendMessageA(target, kMsg, 0, 0); }
    HWND target = 0;
  };
  auto* owner = new tk::TComponent(nullptr);
  auto* noisy = new Noisy(owner, "noisy");
  Probe other(nullptr, "other");
  noisy->target = window;
  noisy->SetWindowHandle(window);
  other.SetWindowHandle(window);

  delete owner;  // marks the component destroying before its destructor sends
  const std::string m = std::to_string(kMsg);
  EXPECT_EQ(events, (std::vector<std::string>{"other:" + m + ":0", "own:" + m}));
}

TEST_F(MsgCmpTest, AWindowStoredWhileLoadingIsRegisteredWhenLoaded) {
  Probe a(nullptr, "a");
  a.BeginLoading();
  a.SetWindowHandle(window);
  EXPECT_EQ(a.WindowHandle(), window);
  EXPECT_EQ(MsgCmpList.FindNextHook(window, -1), -1);
  EXPECT_EQ(LongToProc(GetWindowLongA(window, GWL_WNDPROC)), &OwnProc);

  a.EndLoading();
  SendMessageA(window, kMsg, 0, 0);
  EXPECT_EQ(events.size(), 2u);
}

TEST_F(MsgCmpTest, ADestroyedComponentLeavesNoRegistrationBehind) {
  auto* a = new Probe(nullptr, "a");
  const int attached = a->AttachWindow(window);
  delete a;
  EXPECT_EQ(MsgCmpList.Items(attached).Component, nullptr);
  EXPECT_EQ(SendMessageA(window, kMsg, 0, 0), 42);
}

// Another party subclasses a hooked window and chains to its predecessor; a component
// registered afterwards must not send the message round for ever.
WNDPROC foreignPrevious = nullptr;
LRESULT ForeignProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  events.push_back("foreign");
  return CallWindowProcA(foreignPrevious, w, msg, wp, lp);
}

TEST_F(MsgCmpTest, ForeignSubclassingInBetweenRunsEveryProcedureOnce) {
  Probe a(nullptr, "a"), b(nullptr, "b");
  a.SetWindowHandle(window);
  foreignPrevious = LongToProc(SetWindowLongA(window, GWL_WNDPROC, ProcToLong(&ForeignProc)));
  b.SetWindowHandle(window);

  EXPECT_EQ(SendMessageA(window, kMsg, 0, 0), 42);
  const std::string m = std::to_string(kMsg);
  EXPECT_EQ(events,
            (std::vector<std::string>{"a:" + m + ":0", "b:" + m + ":1", "foreign", "own:" + m}));
}

// The window's own procedure sends the message to the window once more, as a procedure
// may to run the whole chain again.
LRESULT EchoingProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  events.push_back("own");
  static bool echoing = false;
  if (echoing) return 1;
  echoing = true;
  const LRESULT echoed = SendMessageA(w, msg, wp, lp);
  echoing = false;
  return echoed + 1;
}

TEST_F(MsgCmpTest, AMessageTheWindowSendsItselfReachesTheComponentsAgain) {
  const HWND echoing = CreateWindowHandle(&EchoingProc, nullptr);
  Probe a(nullptr, "a");
  a.SetWindowHandle(echoing);
  EXPECT_EQ(SendMessageA(echoing, kMsg, 0, 0), 2);
  const std::string m = std::to_string(kMsg);
  EXPECT_EQ(events, (std::vector<std::string>{"a:" + m + ":0", "own", "a:" + m + ":0", "own"}));
  a.SetWindowHandle(0);
  DestroyWindowHandle(echoing);
}

}  // namespace
