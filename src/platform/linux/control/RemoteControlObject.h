#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>

#include "platform/RemoteCommands.h"
#include "platform/RemoteControlService.h"

namespace platform {

// The object behind RemoteControlService: its slots are the service's methods on the bus.
class RemoteControlObject : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.jabberwell.Board")

 public:
  using Claim = RemoteControlService::Claim;

  explicit RemoteControlObject(const std::string& appFolder);
  ~RemoteControlObject() override;

  Claim ClaimName();
  void SetCommands(RemoteCommands* commands) { commands_ = commands; }
  void SetQuitWhileStarting(std::function<void()> quit) { quitWhileStarting_ = std::move(quit); }

 public Q_SLOTS:
  void Play(const QString& entry);
  void PlayRandom();
  void Stop();
  void SetTimer(const QString& mode);
  void ShowMenu();
  QStringList List();
  void Quit();
  void SetOutputDevice(const QString& name);
  void SetMicrophone(bool on);
  void SetMicPassthrough(bool on);

 private:
  template <typename Call>
  void Answer(Call call);
  static RemoteAnswer StillStarting();
  void SendRefusal(const RemoteAnswer& answer);
  void RunAfterAnswer(std::function<void()> action);

  // A connection of its own, as a second board in a test process needs one too.
  QDBusConnection bus_;
  QString serviceName_;
  RemoteCommands* commands_ = nullptr;
  std::function<void()> quitWhileStarting_;
};

}  // namespace platform
