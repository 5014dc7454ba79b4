#include "platform/RemoteControlClient.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QStringList>

#include "platform/RemoteControlNames.h"

namespace platform {

namespace {

// Long enough for a board busy loading its units; the answer itself comes at once.
constexpr int kCallTimeoutMs = 10000;

bool NotRunning(const QString& errorName) {
  return errorName == QDBusError::errorString(QDBusError::ServiceUnknown) ||
         errorName == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner");
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
  const QDBusMessage reply = bus.call(call, QDBus::Block, kCallTimeoutMs);
  if (reply.type() == QDBusMessage::ErrorMessage) {
    // A board that quit between the look-up and the call is not running either.
    result.status = NotRunning(reply.errorName()) ? RemoteCallResult::Status::NotRunning
                                                  : RemoteCallResult::Status::Refused;
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
