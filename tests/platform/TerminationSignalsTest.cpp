// SIGTERM and SIGINT end the board through its event loop, and end it at once when its
// GUI thread is stuck: each case is a child process signalled from here.
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

enum class Gui { Running, SlowToEnd, Stuck };

// How a child ends whose GUI thread runs its loop and quits on the signal (slowly: half
// a second after its loop), or is stuck for good, sent `sent` 0.3 s apart.
int EndOf(Gui gui, std::chrono::milliseconds grace, const std::vector<int>& sent) {
  int ready[2];
  if (::pipe(ready) != 0) return -1;
  const pid_t child = ::fork();
  if (child == 0) {
    int argc = 1;
    char name[] = "board";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    platform::OnTerminationSignal([] { QCoreApplication::quit(); }, grace);
    ::alarm(20);  // a child the signals did not end fails the test instead of hanging it
    [[maybe_unused]] ssize_t n = ::write(ready[1], "r", 1);
    while (gui == Gui::Stuck) std::this_thread::sleep_for(1h);
    QCoreApplication::exec();
    if (gui == Gui::SlowToEnd) std::this_thread::sleep_for(500ms);
    ::_exit(0);
  }
  char byte;
  if (::read(ready[0], &byte, 1) != 1) return -1;
  for (int signal : sent) {
    ::kill(child, signal);
    std::this_thread::sleep_for(300ms);
  }
  int status = -1;
  ::waitpid(child, &status, 0);
  return status;
}

bool Clean(int status) {
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool EndedBy(int status, int signal) {
  return WIFSIGNALED(status) && WTERMSIG(status) == signal;
}

TEST(TerminationSignals, TheLoopEndsTheBoardWhileItAnswersEvenPastTheGrace) {
  EXPECT_TRUE(Clean(EndOf(Gui::Running, 1h, {SIGINT})));
  EXPECT_TRUE(Clean(EndOf(Gui::SlowToEnd, 50ms, {SIGTERM})));
}

TEST(TerminationSignals, AStuckGuiThreadEndsAfterTheGraceOrOnTheSecondSignal) {
  EXPECT_TRUE(EndedBy(EndOf(Gui::Stuck, 100ms, {SIGTERM}), SIGTERM));
  // A grace that never runs out: the second ends it (the kernel may swap the two).
  const int status = EndOf(Gui::Stuck, 1h, {SIGTERM, SIGINT});
  EXPECT_TRUE(EndedBy(status, SIGINT) || EndedBy(status, SIGTERM)) << status;
}

}  // namespace
