// The command line's own checks, before it calls anybody, and a board that is not there.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/AppFolder.h"
#include "app/CommandLine.h"
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
      {{"--mic"}, "jabberwell: --mic needs on or off\n"},
      {{"--mic", "yes"}, "jabberwell: --mic needs on or off\n"},
      {{"--mic-passthrough", "ON"}, "jabberwell: --mic-passthrough needs on or off\n"},
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

// Without a board the choice goes into JBW.ini, but a microphone is switched on only
// where a sound server could carry it.
TEST(CommandLine, MicrophoneWithoutABoardIsStoredUnlessNoSoundServerRuns) {
  TempFolder app;
  app::SetApplicationFolderForTests(app.Path());
  Outcome run = CommandLine({"--mic", "on"});
  EXPECT_EQ(run.code, app::kExitNoSoundServer);
  EXPECT_EQ(run.err,
            "jabberwell: no PipeWire or PulseAudio sound server answers, so there is no virtual "
            "microphone\n");
  EXPECT_FALSE(app.Exists("JBW.ini"));

  run = CommandLine({"--mic-passthrough", "off"});
  EXPECT_EQ(run.code, app::kExitDone);
  run = CommandLine({"--mic", "off"});
  EXPECT_EQ(run.code, app::kExitDone);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(app.Read("JBW.ini"),
            "[Settings]\r\nSetTimer=Off\r\nSetCustom=3\r\n\r\n"
            "[Output]\r\nMicPassthrough=0\r\nMicrophone=0\r\n\r\n");
  app::SetApplicationFolderForTests("");
}

}  // namespace
