#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QString>
#include <QStringList>
#include <string>

#include "platform/RemoteCommands.h"

namespace platform {

// The board's control service: one object on the session bus, under a name of the
// application folder's own, whose methods hand over to the program's RemoteCommands.
class RemoteControlService : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.jabberwell.Board")

 public:
  enum class Claim { Claimed, AlreadyRunning, NoBus };

  explicit RemoteControlService(const std::string& appFolder);
  ~RemoteControlService() override;

  // Takes the folder's name. AlreadyRunning when another process holds it; NoBus when
  // there is no session bus, and the program runs without control from outside.
  Claim ClaimName();

  // Who answers the calls; until set (and after reset to null) every call is refused
  // as while the menu is shut.
  void SetCommands(RemoteCommands* commands) { commands_ = commands; }

 public Q_SLOTS:
  void Play(const QString& entry);
  void PlayRandom();
  void Stop();
  void SetTimer(const QString& mode);
  void ShowMenu();
  QStringList List();
  void Quit();
  void SetOutputDevice(const QString& name);

 private:
  template <typename Call>
  void Answer(Call call);

  // A connection of its own, as a second board in a test process needs one too.
  QDBusConnection bus_;
  QString serviceName_;
  RemoteCommands* commands_ = nullptr;
};

}  // namespace platform
