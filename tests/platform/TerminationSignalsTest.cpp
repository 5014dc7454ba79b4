// SIGTERM and SIGINT end the board cleanly through its event loop, and end it at once
// when its GUI thread is stuck: each case is a child process signalled from here.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <chrono>
#include <csignal>
#include <thread>
#include <vector>

#include "platform/TerminationSignals.h"

using namespace std::chrono_literals;

namespace {

enum class Gui { Running, Stuck, SlowToEnd };

class TerminationSignals : public ::testing::Test {
 protected:
  // Starts a child whose GUI thread runs its loop (quitting on the signal), is stuck for
  // good, or takes the signal and never gets to the end; returns once it waits.
  void Start(Gui gui, std::chrono::milliseconds grace) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    child_ = ::fork();
    ASSERT_GE(child_, 0);
    if (child_ == 0) RunChild(gui, grace, ready[1]);
    ::close(ready[1]);
    char byte;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::close(ready[0]);
  }
  [[noreturn]] static void RunChild(Gui gui, std::chrono::milliseconds grace, int ready) {
    int argc = 1;
    char name[] = "board";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    platform::OnTerminationSignal(
        [gui] {
          if (gui == Gui::Running) QCoreApplication::quit();
        },
        grace);
    [[maybe_unused]] ssize_t n = ::write(ready, "r", 1);
    if (gui == Gui::Stuck) {
      while (true) std::this_thread::sleep_for(1h);
    }
    QCoreApplication::exec();
    if (gui == Gui::SlowToEnd) {
      while (true) std::this_thread::sleep_for(1h);
    }
    ::_exit(0);
  }
  void Signal(int signal) { ::kill(child_, signal); }
  bool Alive() { return ::waitpid(child_, &status_, WNOHANG) == 0; }
  // The child's end; a child still there after a minute is killed and fails the test.
  int Ended() {
    for (int i = 0; i < 6000 && Alive(); ++i) std::this_thread::sleep_for(10ms);
    if (Alive()) {
      ::kill(child_, SIGKILL);
      ::waitpid(child_, &status_, 0);
      ADD_FAILURE() << "the child did not end";
    }
    child_ = -1;
    return status_;
  }
  void TearDown() override {
    if (child_ > 0) {
      ::kill(child_, SIGKILL);
      ::waitpid(child_, nullptr, 0);
    }
  }

  pid_t child_ = -1;
  int status_ = 0;
};

TEST_F(TerminationSignals, ALoopThatRunsEndsCleanly) {
  for (int signal : {SIGTERM, SIGINT}) {
    Start(Gui::Running, 1h);
    Signal(signal);
    const int status = Ended();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
}

TEST_F(TerminationSignals, AStuckGuiThreadEndsAfterTheGraceOrOnTheSecondSignal) {
  Start(Gui::Stuck, 100ms);
  Signal(SIGTERM);
  int status = Ended();
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;

  // A grace that never runs out: the second signal ends it. (Two different ones, since
  // a second SIGTERM still pending would merge with the first; which comes first is the
  // kernel's choice.)
  Start(Gui::Stuck, 1h);
  Signal(SIGTERM);
  Signal(SIGINT);
  status = Ended();
  EXPECT_TRUE(WIFSIGNALED(status) && (WTERMSIG(status) == SIGINT || WTERMSIG(status) == SIGTERM))
      << status;
}

TEST_F(TerminationSignals, AnEndUnderWayIsLeftAloneUntilAskedAgain) {
  Start(Gui::SlowToEnd, 50ms);
  Signal(SIGTERM);
  // Well past the grace: the GUI thread took the signal, so the watch waits.
  std::this_thread::sleep_for(500ms);
  EXPECT_TRUE(Alive());
  Signal(SIGTERM);
  const int status = Ended();
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
}

}  // namespace
