#include "platform/linux/control/RemoteControlObject.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <exception>

#include "platform/CallbackGuard.h"
#include "platform/RemoteControlNames.h"

namespace platform {

namespace {

int nextServiceNumber = 0;

// The program's texts are 8-bit text in the system code page.
QString FromLocal(const std::string& text) {
  return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToLocal(const QString& text) {
  return text.toLocal8Bit().toStdString();
}

}  // namespace

RemoteControlObject::RemoteControlObject(const std::string& appFolder)
    : bus_(QDBusConnection::connectToBus(
          QDBusConnection::SessionBus,
          QStringLiteral("jabberwell-board-%1").arg(++nextServiceNumber))),
      serviceName_(QString::fromStdString(RemoteControlServiceName(appFolder))) {}

RemoteControlObject::~RemoteControlObject() {
  // Closing the connection gives up the name.
  const QString name = bus_.name();
  bus_ = QDBusConnection(QString());
  QDBusConnection::disconnectFromBus(name);
}

RemoteControlObject::Claim RemoteControlObject::ClaimName() {
  if (!bus_.isConnected() || !bus_.interface()) return Claim::NoBus;
  // The name is asked for without queueing, so of two starts at once only one wins.
  if (!bus_.registerService(serviceName_)) {
    return bus_.interface()->isServiceRegistered(serviceName_) ? Claim::AlreadyRunning
                                                               : Claim::NoBus;
  }
  bus_.registerObject(QString::fromLatin1(kRemoteControlPath), this,
                      QDBusConnection::ExportAllSlots);
  return Claim::Claimed;
}

RemoteAnswer RemoteControlObject::StillStarting() {
  return RemoteAnswer::Refused(kRemoteErrorMenuShut, "Jabberwell is still starting");
}

void RemoteControlObject::SendRefusal(const RemoteAnswer& answer) {
  sendErrorReply(QString::fromLatin1(answer.errorName.c_str()), FromLocal(answer.message));
}

void RemoteControlObject::RunAfterAnswer(std::function<void()> action) {
  // The caller has its answer before the action runs, as a menu choice runs once the
  // menu has closed: the action may open a menu or a message box of its own.
  QMetaObject::invokeMethod(
      this, [action = std::move(action)] { RunGuarded(action); }, Qt::QueuedConnection);
}

template <typename Call>
void RemoteControlObject::Answer(Call call) {
  RemoteAnswer answer = StillStarting();
  // No exception may pass back into Qt; the caller learns of it instead.
  try {
    if (commands_) answer = call(*commands_);
  } catch (const std::exception& e) {
    answer = RemoteAnswer::Refused(kRemoteErrorFailed, e.what());
  }
  if (!answer.errorName.empty()) {
    SendRefusal(answer);
    return;
  }
  if (answer.action) RunAfterAnswer(std::move(answer.action));
}

void RemoteControlObject::Play(const QString& entry) {
  Answer([&](RemoteCommands& c) { return c.Play(ToLocal(entry)); });
}

void RemoteControlObject::PlayRandom() {
  Answer([](RemoteCommands& c) { return c.PlayRandom(); });
}

void RemoteControlObject::Stop() {
  Answer([](RemoteCommands& c) { return c.Stop(); });
}

void RemoteControlObject::SetTimer(const QString& mode) {
  Answer([&](RemoteCommands& c) { return c.SetTimer(ToLocal(mode)); });
}

void RemoteControlObject::ShowMenu() {
  Answer([](RemoteCommands& c) { return c.ShowMenu(); });
}

QStringList RemoteControlObject::List() {
  QStringList entries;
  if (!commands_) {
    SendRefusal(StillStarting());
    return entries;
  }
  try {
    for (const std::string& entry : commands_->List()) entries << FromLocal(entry);
  } catch (const std::exception& e) {
    sendErrorReply(QString::fromLatin1(kRemoteErrorFailed), QString::fromLocal8Bit(e.what()));
  }
  return entries;
}

void RemoteControlObject::Quit() {
  // A start that waits on a message box can still be ended from outside.
  if (!commands_ && quitWhileStarting_) {
    RunAfterAnswer(quitWhileStarting_);
    return;
  }
  Answer([](RemoteCommands& c) { return c.Quit(); });
}

void RemoteControlObject::SetOutputDevice(const QString& name) {
  Answer([&](RemoteCommands& c) { return c.SetOutputDevice(ToLocal(name)); });
}

void RemoteControlObject::SetMicrophone(bool on) {
  Answer([on](RemoteCommands& c) { return c.SetMicrophone(on); });
}

void RemoteControlObject::SetMicPassthrough(bool on) {
  Answer([on](RemoteCommands& c) { return c.SetMicPassthrough(on); });
}

}  // namespace platform
