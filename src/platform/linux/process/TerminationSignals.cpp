#include "platform/TerminationSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>

#include <QCoreApplication>
#include <QSocketNotifier>

namespace platform {

namespace {

int signalPipe[2] = {-1, -1};

void WriteToPipe(int) {
  const char byte = 1;
  [[maybe_unused]] ssize_t n = ::write(signalPipe[1], &byte, 1);
}

}  // namespace

void OnTerminationSignal(std::function<void()> onSignal) {
  if (signalPipe[0] < 0 && ::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  auto* notifier =
      new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                   [onSignal = std::move(onSignal)] {
                     char buffer[16];
                     while (::read(signalPipe[0], buffer, sizeof buffer) > 0) {
                     }
                     onSignal();
                   });
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
  const char* session = std::getenv("XDG_SESSION_TYPE");
  const bool wayland =
      std::getenv("WAYLAND_DISPLAY") || (session && std::strcmp(session, "wayland") == 0);
  if (wayland && std::getenv("DISPLAY")) ::setenv("QT_QPA_PLATFORM", "xcb", 1);
}

}  // namespace platform
