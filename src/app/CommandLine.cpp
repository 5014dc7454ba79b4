#include "app/CommandLine.h"

#include <QCoreApplication>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "app/AppFolder.h"
#include "app/MicrophoneCommand.h"
#include "platform/FolderLock.h"
#include "platform/RemoteControlClient.h"
#include "platform/RemoteControlNames.h"
#include "platform/SoundOutput.h"
#include "platform/VirtualMicrophone.h"
#include "settings/OutputDevice.h"

namespace app {

namespace {

struct Command {
  const char* option;
  const char* method;
  const char* argument;  // what the option's argument is, if it takes one
};

constexpr Command kCommands[] = {
    {"--play", "Play", "an entry, as \"External Sounds/Door\""},
    {"--random", "PlayRandom", nullptr},
    {"--stop", "Stop", nullptr},
    {"--timer", "SetTimer", "a mode: Off, 2Mins, 5Mins, Random or Custom"},
    {"--menu", "ShowMenu", nullptr},
    {"--list", "List", nullptr},
    {"--quit", "Quit", nullptr},
    {"--output-device", "SetOutputDevice", "a name from --list-devices, or \"\" for the default"},
    {"--mic", kSetMicrophone, kOnOrOff},
    {"--mic-passthrough", kSetMicPassthrough, kOnOrOff},
};

constexpr char kUsage[] =
    "Usage: jabberwell [OPTION]\n"
    "Without an option, starts the sound board in the notification area. With one, tells\n"
    "the board started from the same folder what to do:\n"
    "  --play ENTRY   play a menu entry, \"<menu>/<entry>\", as \"External Sounds/Door\"\n"
    "  --random       play a random clip\n"
    "  --stop         stop the sound that plays\n"
    "  --timer MODE   set the timer: Off, 2Mins, 5Mins, Random or Custom\n"
    "  --menu         open the tray menu at the pointer\n"
    "  --list         list every entry --play takes\n"
    "  --quit         end the board\n"
    "  --output-device NAME   send the sound to that device (\"\" for the default);\n"
    "                 kept in JBW.ini, also while the board is not running\n"
    "  --list-devices list the names of the sound output devices\n"
    "  --mic on|off   a microphone \"Jabberwell Microphone\" for voice chats, carrying\n"
    "                 the board's sounds; kept in JBW.ini\n"
    "  --mic-passthrough on|off   whether it carries your own microphone too (on)\n"
    "  --help         show this help\n"
    "  --version      show the version\n"
    "Exit status: 0 done, 1 refused (no such entry or mode) or failed (a save), 2 wrong\n"
    "usage, 3 not running, 4 not now (a Jabberwell window is open, or it is starting),\n"
    "5 no session bus, 6 no answer (timed out, or the board ended), 7 --output-device\n"
    "saved but the running board could not be told, 8 no sound server for the microphone.\n";

int Fail(int code, const std::string& line) {
  std::fprintf(stderr, "jabberwell: %s\n", line.c_str());
  return code;
}

// A board told to quit has ended once its folder is free: a start right after --quit
// then finds no board in the way.
int AwaitEnd() {
  if (platform::WaitUntilFolderFree(ApplicationFolder(), platform::kRemoteCallTimeoutMs)) {
    return kExitDone;
  }
  return Fail(kExitNoAnswer, "Jabberwell took --quit but has not ended within " +
                                 std::to_string(platform::kRemoteCallTimeoutMs / 1000) + " s");
}

int Report(const platform::RemoteCallResult& result) {
  using Status = platform::RemoteCallResult::Status;
  switch (result.status) {
    case Status::Done:
      for (const std::string& entry : result.entries) std::printf("%s\n", entry.c_str());
      return kExitDone;
    case Status::NoBus:
      return Fail(kExitNoBus, "control from outside is unavailable: no session bus");
    case Status::NotRunning:
      // Its lock says whether a board runs there off this bus (started without one).
      if (platform::FolderLockedElsewhere(ApplicationFolder())) {
        return Fail(kExitNoBus, "Jabberwell runs from " + ApplicationFolder() +
                                    ", but not on this session bus: no control from outside");
      }
      return Fail(kExitNotRunning, "Jabberwell is not running from " + ApplicationFolder());
    case Status::NoAnswer:
      return Fail(kExitNoAnswer, "Jabberwell did not answer within " +
                                     std::to_string(platform::kRemoteCallTimeoutMs / 1000) +
                                     " s; it may be stuck (SIGTERM ends it)");
    case Status::Ended:
      return Fail(kExitNoAnswer, "Jabberwell ended before it answered");
    case Status::Refused:
      break;
  }
  const int code = result.errorName == platform::kRemoteErrorMenuShut        ? kExitMenuShut
                   : result.errorName == platform::kRemoteErrorNoSoundServer ? kExitNoSoundServer
                                                                             : kExitRefused;
  return Fail(code, result.message);
}

// Without a board to tell, the choice goes straight into its settings file. A board
// that runs but cannot be reached (no session bus here or there) keeps its device until
// its next start.
int SaveOutputDevice(const std::string& name) {
  const std::string folder = ApplicationFolder();
  try {
    settings::SaveOutputDevice(folder, name);
  } catch (const std::exception& e) {
    return Fail(kExitRefused, std::string("not saved in JBW.ini: ") + e.what());
  }
  if (!platform::FolderLockedElsewhere(folder)) return kExitDone;
  return Fail(kExitNotTold, "saved in JBW.ini, but the board running from " + folder +
                                " cannot be reached over the session bus: it takes the device "
                                "at its next start");
}

}  // namespace

int RunCommandLine(int argc, char** argv) {
  const std::string option = argc > 1 ? argv[1] : "";
  if (option == "--help" && argc == 2) {
    std::fputs(kUsage, stdout);
    return kExitDone;
  }
  if (option == "--list-devices" && argc == 2) {
    for (const std::string& name : platform::ListSoundOutputDevices()) {
      std::printf("%s\n", name.c_str());
    }
    return kExitDone;
  }
  if (option == platform::kMicrophoneCleanupOption && argc == 3) {
    platform::RemoveLeftVirtualMicrophone(argv[2]);
    return kExitDone;
  }
  if (option == "--version" && argc == 2) {
    std::printf("Jabberwell v3 %s\n", JBW_VERSION);
    return kExitDone;
  }
  for (const Command& command : kCommands) {
    if (option != command.option) continue;
    const int wanted = command.argument ? 3 : 2;
    if (argc < wanted) return Fail(kExitUsage, option + " needs " + command.argument);
    if (argc > wanted)
      return Fail(kExitUsage, std::string("unexpected argument '") + argv[wanted] + "'");
    std::vector<std::string> arguments;
    if (command.argument) arguments.emplace_back(argv[2]);
    const bool microphone = command.argument == kOnOrOff;
    if (microphone && arguments[0] != "on" && arguments[0] != "off")
      return Fail(kExitUsage, option + " needs " + kOnOrOff);
    // Qt's bus connection wants an application object; a core one needs no display.
    // Its bus thread may warn about messages it reads while the process ends; the
    // command line's only output is its own.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QCoreApplication application(argc, argv);
    if (microphone) return Report(CallMicrophone(command.method, arguments[0] == "on"));
    platform::RemoteCallResult result =
        platform::CallRemoteControl(ApplicationFolder(), command.method, arguments);
    using Status = platform::RemoteCallResult::Status;
    if (option == "--output-device" &&
        (result.status == Status::NoBus || result.status == Status::NotRunning)) {
      return SaveOutputDevice(arguments[0]);
    }
    if (option == "--quit" && result.status == Status::Done) return AwaitEnd();
    return Report(result);
  }
  if (option == "--help" || option == "--version" || option == "--list-devices") {
    return Fail(kExitUsage, std::string("unexpected argument '") + argv[2] + "'");
  }
  return Fail(kExitUsage, "unknown option '" + option + "' (--help lists the options)");
}

}  // namespace app
