#include "toolkit/Application.h"

#include <QApplication>
#include <QEventLoop>

#include "rtl/RuntimeErrors.h"
#include "toolkit/Dialogs.h"

namespace tk {

namespace {

// Catches what an event handler lets out, so nothing unwinds through Qt's dispatch.
class TGuardedApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (...) {
      tk::HandleException();
      return false;
    }
  }
};

}  // namespace

TApplication& Application() {
  static TApplication app;
  return app;
}

void TApplication::Initialize(int& argc, char** argv) {
  if (!QCoreApplication::instance()) ownApp_ = new TGuardedApplication(argc, argv);
  // The name becomes the X11 window class, which is how scripts find our windows.
  QCoreApplication::setApplicationName("jabberwell");
  // All windows are only ever hidden; the program ends through Terminate.
  QApplication::setQuitOnLastWindowClosed(false);
}

void TApplication::Run() {
  if (terminated_ || !QCoreApplication::instance()) return;
  QCoreApplication::exec();
}

void TApplication::Terminate() {
  terminated_ = true;
  if (QCoreApplication::instance()) QCoreApplication::exit(0);
}

void TApplication::ProcessMessages() {
  if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TApplication::HandleException(const std::string& text) {
  try {
    Dialogs().ShowError(text);
  } catch (...) {
    // The error box itself failed; there is nowhere left to report it.
  }
}

void TApplication::HandleException(std::exception_ptr error) {
  try {
    if (error) std::rethrow_exception(error);
  } catch (const rtl::Exception& e) {
    // The whole text: a value quoted in it may hold a NUL byte, where what() stops.
    HandleException(e.Message());
  } catch (const std::exception& e) {
    HandleException(std::string(e.what()));
  } catch (...) {
    HandleException(std::string("Unknown error"));
  }
}

void Guard(const std::function<void()>& handler) {
  try {
    if (handler) handler();
  } catch (...) {
    HandleException();
  }
}

void HandleException() {
  Application().HandleException(std::current_exception());
}

}  // namespace tk
