#include "platform/TerminationSignals.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <thread>

#include <QCoreApplication>
#include <QSocketNotifier>

#include "platform/linux/QtBridge.h"

namespace platform {

namespace {

// The handler writes the signal's number to the watch pipe. The watch thread hands the
// first signal to the GUI thread through the loop pipe, and ends the process itself on a
// second one, or when the GUI thread has not taken the first within the grace: a GUI
// thread that is stuck must not make the program deaf to signals.
int watchPipe[2] = {-1, -1};
int loopPipe[2] = {-1, -1};
std::atomic<bool> taken{false};

void WriteToPipe(int signal) {
  const int saved = errno;
  const char byte = static_cast<char>(signal);
  [[maybe_unused]] ssize_t n = ::write(watchPipe[1], &byte, 1);
  errno = saved;
}

// The next signal's number, or 0 when none came within `timeoutMs` (-1: no limit).
int NextSignal(int timeoutMs) {
  pollfd watch{watchPipe[0], POLLIN, 0};
  for (;;) {
    const int ready = ::poll(&watch, 1, timeoutMs);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return 0;
    char byte;
    if (::read(watchPipe[0], &byte, 1) == 1) return byte;
  }
}

[[noreturn]] void EndNow(int signal) {
  static constexpr char kLine[] = "jabberwell: ended at once, without cleaning up\n";
  [[maybe_unused]] ssize_t n = ::write(STDERR_FILENO, kLine, sizeof kLine - 1);
  // As the signal's default action would have: the parent sees which signal it was.
  ::signal(signal, SIG_DFL);
  ::raise(signal);
  ::_exit(128 + signal);
}

void Watch(std::chrono::milliseconds grace) {
  const int first = NextSignal(-1);
  const char byte = static_cast<char>(first);
  [[maybe_unused]] ssize_t n = ::write(loopPipe[1], &byte, 1);
  int next = NextSignal(static_cast<int>(grace.count()));
  // A clean end under way is left alone unless asked again.
  if (!next && taken) next = NextSignal(-1);
  EndNow(next ? next : first);
}

}  // namespace

void OnTerminationSignal(std::function<void()> onSignal, std::chrono::milliseconds grace) {
  if (::pipe2(watchPipe, O_CLOEXEC | O_NONBLOCK) != 0 ||
      ::pipe2(loopPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    return;
  }
  auto* notifier =
      new QSocketNotifier(loopPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                   [onSignal = std::move(onSignal)] {
                     char buffer[16];
                     while (::read(loopPipe[0], buffer, sizeof buffer) > 0) {
                     }
                     taken = true;
                     onSignal();
                   });
  std::thread(Watch, grace).detach();
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = WriteToPipe;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGTERM, &action, nullptr);
  ::sigaction(SIGINT, &action, nullptr);
}

void PreferX11UnderWayland() {
  const char* chosen = std::getenv("QT_QPA_PLATFORM");
  if (chosen && *chosen) return;
  if (InWaylandSession() && std::getenv("DISPLAY")) ::setenv("QT_QPA_PLATFORM", "xcb", 1);
}

}  // namespace platform
