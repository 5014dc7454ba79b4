// The command line's own checks, before it calls anybody, and a board that is not there.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/AppFolder.h"
#include "app/CommandLine.h"
#include "platform/FolderLock.h"
#include "support/TempFolder.h"

namespace {

struct Outcome {
  int code;
  std::string out, err;
};

Outcome CommandLine(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "jabberwell");
  std::vector<char*> argv;
  for (std::string& a : arguments) argv.push_back(a.data());
  argv.push_back(nullptr);
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  const int code = app::RunCommandLine(static_cast<int>(arguments.size()), argv.data());
  std::string out = testing::internal::GetCapturedStdout();
  return {code, out, testing::internal::GetCapturedStderr()};
}

TEST(CommandLine, WrongUsageIsOneLineAndExitTwo) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
      {{"--louder"}, "jabberwell: unknown option '--louder' (--help lists the options)\n"},
      {{"play"}, "jabberwell: unknown option 'play' (--help lists the options)\n"},
      {{"--play"}, "jabberwell: --play needs an entry, as \"External Sounds/Door\"\n"},
      {{"--timer"}, "jabberwell: --timer needs a mode: Off, 2Mins, 5Mins, Random or Custom\n"},
      {{"--stop", "now"}, "jabberwell: unexpected argument 'now'\n"},
      {{"--play", "A/B", "C/D"}, "jabberwell: unexpected argument 'C/D'\n"},
      {{"--help", "me"}, "jabberwell: unexpected argument 'me'\n"},
  };
  for (const auto& [arguments, message] : cases) {
    const Outcome run = CommandLine(arguments);
    EXPECT_EQ(run.code, app::kExitUsage) << arguments[0];
    EXPECT_EQ(run.err, message);
    EXPECT_EQ(run.out, "");
  }
}

TEST(CommandLine, HelpAndVersionNeedNoBoard) {
  Outcome run = CommandLine({"--help"});
  EXPECT_EQ(run.code, app::kExitDone);
  EXPECT_EQ(run.out.rfind("Usage: jabberwell [OPTION]\n", 0), 0u);
  for (const char* option : {"--play ENTRY", "--random", "--stop", "--timer MODE", "--menu",
                             "--list", "--quit", "--version"}) {
    EXPECT_NE(run.out.find(option), std::string::npos) << option;
  }
  run = CommandLine({"--version"});
  EXPECT_EQ(run.code, app::kExitDone);
  EXPECT_EQ(run.out, "Jabberwell v3 3.0\n");
  EXPECT_EQ(run.err, "");
}

TEST(CommandLine, ABoardThatIsNotRunningIsSaidSo) {
  for (const char* option : {"--random", "--list", "--quit"}) {
    const Outcome run = CommandLine({option});
    EXPECT_EQ(run.code, app::kExitNotRunning) << option;
    EXPECT_EQ(run.err.rfind("jabberwell: Jabberwell is not running from /", 0), 0u) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1);
  }
}

// Without a board to tell, the device goes into JBW.ini. A board that runs there (it
// holds the folder's lock) but is not on this bus is said to run, and to keep its device
// until its next start.
TEST(CommandLine, ABoardOffTheBusIsSaidToRunAndAnOutputDeviceIsSavedForIt) {
  TempFolder folder;
  app::SetApplicationFolderForTests(folder.Path());
  Outcome run = CommandLine({"--output-device", "Headset"});
  EXPECT_EQ(run.code, app::kExitDone) << run.err;
  EXPECT_NE(folder.Read("JBW.ini").find("[Output]\r\nDevice=Headset\r\n"), std::string::npos);

  {
    // A board that holds the folder but is not on this bus.
    const platform::FolderLock board(folder.Path());
    run = CommandLine({"--stop"});
    EXPECT_EQ(run.code, app::kExitNoBus);
    EXPECT_EQ(run.err, "jabberwell: Jabberwell runs from " + folder.Path() +
                           ", but not on this session bus: no control from outside\n");
    run = CommandLine({"--output-device", "Speakers"});
    EXPECT_EQ(run.code, app::kExitNotTold);
    EXPECT_EQ(run.err, "jabberwell: saved in JBW.ini, but the board running from " + folder.Path() +
                           " cannot be reached over the session bus: it takes the device at its "
                           "next start\n");
    EXPECT_NE(folder.Read("JBW.ini").find("Device=Speakers"), std::string::npos);
  }

  std::filesystem::remove(folder.File("JBW.ini"));
  std::filesystem::create_directory(folder.File("JBW.ini"));
  run = CommandLine({"--output-device", "Headset"});
  EXPECT_EQ(run.code, app::kExitRefused);
  EXPECT_EQ(run.err, "jabberwell: not saved in JBW.ini: File access denied\n");
  app::SetApplicationFolderForTests("");
}

}  // namespace
