#include "platform/RemoteControlClient.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QStringList>

#include "platform/RemoteControlNames.h"

namespace platform {

namespace {

bool NotRunning(const QString& errorName) {
  return errorName == QDBusError::errorString(QDBusError::ServiceUnknown) ||
         errorName == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner");
}

// No reply came: the call timed out, or the board left the bus before it answered.
bool Unanswered(const QString& errorName) {
  return errorName == QDBusError::errorString(QDBusError::NoReply) ||
         errorName == QDBusError::errorString(QDBusError::Timeout) ||
         errorName == QDBusError::errorString(QDBusError::TimedOut) ||
         errorName == QDBusError::errorString(QDBusError::Disconnected);
}

RemoteCallResult::Status Failure(QDBusConnection& bus, const QString& service,
                                 const QString& errorName) {
  using Status = RemoteCallResult::Status;
  // A board that quit between the look-up and the call is not running either.
  if (NotRunning(errorName)) return Status::NotRunning;
  if (!Unanswered(errorName)) return Status::Refused;
  return bus.isConnected() && bus.interface()->isServiceRegistered(service) ? Status::NoAnswer
                                                                            : Status::Ended;
}

RemoteCallResult Call(QDBusConnection bus, const std::string& appFolder, const char* method,
                      const QVariantList& arguments) {
  RemoteCallResult result;
  if (!bus.isConnected() || !bus.interface()) {
    result.status = RemoteCallResult::Status::NoBus;
    return result;
  }
  const QString service = QString::fromStdString(RemoteControlServiceName(appFolder));
  if (!bus.interface()->isServiceRegistered(service)) {
    result.status = RemoteCallResult::Status::NotRunning;
    return result;
  }
  QDBusMessage call = QDBusMessage::createMethodCall(
      service, QString::fromLatin1(kRemoteControlPath),
      QString::fromLatin1(kRemoteControlInterface), QString::fromLatin1(method));
  call.setArguments(arguments);
  const QDBusMessage reply = bus.call(call, QDBus::Block, kRemoteCallTimeoutMs);
  if (reply.type() == QDBusMessage::ErrorMessage) {
    result.status = Failure(bus, service, reply.errorName());
    result.errorName = reply.errorName().toStdString();
    result.message = reply.errorMessage().toLocal8Bit().toStdString();
    return result;
  }
  if (!reply.arguments().isEmpty()) {
    for (const QString& entry : reply.arguments().first().toStringList()) {
      result.entries.push_back(entry.toLocal8Bit().toStdString());
    }
  }
  return result;
}

RemoteCallResult CallOnce(const std::string& appFolder, const char* method,
                          const QVariantList& arguments) {
  // A connection of its own, closed before the caller exits: messages the bus sends
  // meanwhile would otherwise still be read while the process tears Qt down.
  const QString name = QStringLiteral("jabberwell-control");
  const RemoteCallResult result =
      Call(QDBusConnection::connectToBus(QDBusConnection::SessionBus, name), appFolder, method,
           arguments);
  QDBusConnection::disconnectFromBus(name);
  return result;
}

}  // namespace

RemoteCallResult CallRemoteControl(const std::string& appFolder, const char* method,
                                   const std::vector<std::string>& arguments) {
  QVariantList texts;
  for (const std::string& argument : arguments) {
    texts << QString::fromLocal8Bit(argument.data(), static_cast<qsizetype>(argument.size()));
  }
  return CallOnce(appFolder, method, texts);
}

RemoteCallResult CallRemoteControlSwitch(const std::string& appFolder, const char* method,
                                         bool argument) {
  return CallOnce(appFolder, method, {QVariant(argument)});
}

}  // namespace platform
