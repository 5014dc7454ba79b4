#pragma once

#include <string>

// Where the board's control service sits on the session bus, for the service and for
// the command line that calls it.
namespace platform {

inline constexpr char kRemoteControlPath[] = "/org/jabberwell/Board";
inline constexpr char kRemoteControlInterface[] = "org.jabberwell.Board";

// Why a call was refused, as D-Bus error names.
inline constexpr char kRemoteErrorNoSuchEntry[] = "org.jabberwell.Board.Error.NoSuchEntry";
inline constexpr char kRemoteErrorMenuShut[] = "org.jabberwell.Board.Error.MenuShut";
inline constexpr char kRemoteErrorUnknownMode[] = "org.jabberwell.Board.Error.UnknownMode";
inline constexpr char kRemoteErrorNoSoundServer[] = "org.jabberwell.Board.Error.NoSoundServer";
inline constexpr char kRemoteErrorFailed[] = "org.freedesktop.DBus.Error.Failed";

// The service's bus name for the program in `appFolder`. Each install has its own
// settings files and so its own name; copies started from one folder share it.
std::string RemoteControlServiceName(const std::string& appFolder);

}  // namespace platform
