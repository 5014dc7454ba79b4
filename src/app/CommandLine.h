#pragma once

namespace app {

// `jabberwell --play ENTRY | --random | --stop | --timer MODE | --menu | --list | --quit |
// --output-device NAME | --mic on|off | --mic-passthrough on|off | --list-devices | --help |
// --version`: a client of the board running from the same application folder, over the
// session bus; it needs no display and never starts a board of its own. Prints one line
// on failure. Returns the exit code (CommandLineExit).
int RunCommandLine(int argc, char** argv);

enum CommandLineExit {
  kExitDone = 0,
  kExitRefused = 1,  // no such entry, unknown timer mode, or the board failed the call
  kExitUsage = 2,
  kExitNotRunning = 3,
  kExitMenuShut = 4,  // a Jabberwell window is open, or the board is still starting
  kExitNoBus = 5,
  kExitNoAnswer = 6,  // the call timed out, or the board ended before it answered
  kExitNotTold = 7,   // --output-device: saved, but the running board could not be told
  kExitNoSoundServer = 8,  // --mic on where neither PipeWire nor PulseAudio runs
};

}  // namespace app
