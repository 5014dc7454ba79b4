#pragma once

#include <exception>
#include <functional>
#include <string>
#include <utility>

#include <QObject>

class QApplication;

namespace tk {

// The one application object: title, message loop, termination and the default error
// handler that shows the text of an error which ended a handler.
class TApplication {
 public:
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  // Creates the Qt application when none exists yet. Call once, first thing.
  void Initialize(int& argc, char** argv);

  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }

  // Runs the message loop until Terminate; returns at once when already terminated.
  void Run();
  // Ends the message loop, nested loops (an open menu, a modal box) included.
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Handles the events that are waiting, then returns.
  void ProcessMessages();

  // Shows the text of an error through the error box; never throws.
  void HandleException(const std::string& text);
  void HandleException(std::exception_ptr error);

 private:
  friend TApplication& Application();
  TApplication() = default;

  std::string title_;
  bool terminated_ = false;
  QApplication* ownApp_ = nullptr;
};

TApplication& Application();

// Runs a handler under the default error handler: an error it raises is shown and the
// program runs on. Nothing escapes.
void Guard(const std::function<void()>& handler);

// Reports the exception being handled (call inside a catch block).
void HandleException();

namespace detail {

// Wraps a handler in a slot with the handler's own parameters, so Qt passes exactly those.
template <typename Method>
struct GuardedSlot;

template <typename C, typename R, typename... A>
struct GuardedSlot<R (C::*)(A...) const> {
  template <typename Fn>
  static auto Wrap(Fn fn) {
    return [fn = std::move(fn)](A... args) { Guard([&] { fn(std::forward<A>(args)...); }); };
  }
};

template <typename C, typename R, typename... A>
struct GuardedSlot<R (C::*)(A...)> {
  template <typename Fn>
  static auto Wrap(Fn fn) {
    return
        [fn = std::move(fn)](A... args) mutable { Guard([&] { fn(std::forward<A>(args)...); }); };
  }
};

}  // namespace detail

// Connects a Qt signal to a program handler (a lambda or other function object) that
// runs under Guard, so no exception passes through Qt. `context` ends the connection
// when it is destroyed.
template <typename Sender, typename Signal, typename Fn>
QMetaObject::Connection Connect(const Sender* sender, Signal signal, const QObject* context,
                                Fn fn) {
  return QObject::connect(sender, signal, context,
                          detail::GuardedSlot<decltype(&Fn::operator())>::Wrap(std::move(fn)));
}

}  // namespace tk
