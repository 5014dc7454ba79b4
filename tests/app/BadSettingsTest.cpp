// Damaged settings files at start: the program reports what it must, runs on, and
// leaves every file it had no reason to change byte for byte as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <sstream>

#include "app/AppFolder.h"
#include "app/Config.h"
#include "app/Splash.h"
#include "platform/WindowHandles.h"
#include "support/QtTestApp.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "toolkit/Application.h"
#include "toolkit/Menus.h"
#include "toolkit/Timer.h"
#include "tray/wkTray.h"

// fontconfig keeps its cache until exit; the leak checker would count it.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace {

using namespace std::string_literals;

constexpr const char* kFileNames[] = {"BSUs.ini", "External.ini", "JBW.ini"};
enum Step { kBsus, kExternal, kJbw, kNoStop };

// A settings file's state before the start: missing, a folder, or these bytes.
struct FileState {
  enum Kind { Missing, Folder, Bytes } kind = Missing;
  std::string bytes;
};
FileState Missing() {
  return {};
}
FileState Folder() {
  return {FileState::Folder, ""};
}
FileState Text(std::string bytes) {
  return {FileState::Bytes, std::move(bytes)};
}

struct Case {
  std::string name;
  FileState files[3];
  std::string error;        // the one error box expected, empty for none
  Step stop = kNoStop;      // the file whose load fails; the later ones are not even created
  int externalSounds = -1;  // entries expected in the sound list, -1: any
  std::optional<std::string> jbwAfter;  // when the timer restore is meant to save
};

std::ostream& operator<<(std::ostream& out, const Case& c) {
  return out << c.name;
}

const std::string kBsusOk = "[Settings]\r\nNumberOfBSUs=0\r\n\r\n";
const std::string kExternalOk = "[Settings]\r\nNumberOfSounds=0\r\nLastDir=/nowhere/Wavs\r\n\r\n";
const std::string kJbwOk = "[Settings]\r\nSetTimer=Off\r\nSetCustom=3\r\n\r\n";

std::string NotAnInteger(const std::string& value) {
  return "'" + value + "' is not a valid integer value";
}

// Random bytes; without character 26 when text after them must still be read.
std::string Junk(unsigned seed, size_t size, bool endOfText = true) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) {
    do c = static_cast<char>(random());
    while (!endOfText && c == '\x1a');
  }
  return bytes;
}

// Values of a count key or "SetCustom" that are no whole number.
const std::pair<const char*, std::string> kNotNumbers[] = {
    {"Letters", "abc"},
    {"Empty", ""},
    {"Fraction", "1.5"},
    {"TrailingBlank", "3 "},
    {"DigitsThenLetters", "12abc"},
    {"Above32Bits", "4294967296"},
    {"Below32Bits", "-2147483649"},
    {"TwoSigns", "+-1"},
    {"HexPrefixOnly", "0x"},
    {"ZeroXHexadecimal", "0x2"},
    {"DollarOnly", "$"},
    {"Exponent", "1e3"},
    {"ArabicDigit", "\xd9\xa3"},
    {"ControlCharacter", "\x01"},
    {"EmbeddedNul", std::string("1\0", 2)},
    {"HighBytes", "\xff\xfe"},
};

std::vector<Case> Cases() {
  std::vector<Case> cases;
  for (const auto& [label, value] : kNotNumbers) {
    cases.push_back({std::string("CountOfUnits") + label,
                     {Text("[Settings]\r\nNumberOfBSUs=" + value + "\r\n"), Missing(), Missing()},
                     NotAnInteger(value),
                     kBsus});
    cases.push_back(
        {std::string("CountOfSounds") + label,
         {Text(kBsusOk), Text("[Settings]\r\nNumberOfSounds=" + value + "\r\n"), Missing()},
         NotAnInteger(value),
         kExternal});
    cases.push_back({std::string("CustomMinutes") + label,
                     {Text(kBsusOk), Text(kExternalOk),
                      Text("[Settings]\r\nSetTimer=Custom\r\nSetCustom=" + value + "\r\n")},
                     NotAnInteger(value),
                     kJbw});
  }
  // Whole numbers in other spellings: no error, and nothing to load.
  for (const char* value : {" 0", "-2", "+0", "$0", "-2147483648"}) {
    cases.push_back({std::string("CountSpelled_") + std::to_string(cases.size()),
                     {Text("[Settings]\r\nNumberOfBSUs=" + std::string(value) + "\r\n"),
                      Text("[Settings]\r\nNumberOfSounds=" + std::string(value) +
                           "\r\n[Sound-List]\r\n1=/a.wav\r\n[Sound-Menu]\r\n1=A\r\n"),
                      Text(kJbwOk)},
                     "",
                     kNoStop,
                     0});
  }
  // An out-of-range custom interval is meant to be replaced by the restore.
  cases.push_back({"CustomMinutesOutOfRangeIsSavedAsThree",
                   {Text(kBsusOk), Text(kExternalOk),
                    Text("[Settings]\r\nSetTimer=Custom\r\nSetCustom=150\r\n")},
                   "",
                   kNoStop,
                   0,
                   "[Settings]\r\nSetTimer=Custom\r\nSetCustom=3\r\n\r\n"});

  // Lines of 300 characters: read with their first 255 characters only.
  const std::string zeros(300 - 13, '0');
  cases.push_back({"LongCountOfZeros",
                   {Text("[Settings]\r\nNumberOfBSUs=" + zeros + "\r\n"), Missing(), Missing()},
                   "",
                   kNoStop});
  const std::string ones(300 - 15, '1');
  cases.push_back(
      {"LongCountIsCutThenRefused",
       {Text(kBsusOk), Text("[Settings]\r\nNumberOfSounds=" + ones + "\r\n"), Missing()},
       NotAnInteger(ones.substr(0, 255 - 15)),
       kExternal});
  cases.push_back({"LongHeaderIsNoHeader",
                   {Text("[Settings]\r\n[" + std::string(298, 'x') + "]\r\nNumberOfBSUs=abc\r\n"),
                    Missing(), Missing()},
                   NotAnInteger("abc"),
                   kBsus});
  cases.push_back(
      {"LongPathAndCaption",
       {Text(kBsusOk),
        Text("[Settings]\r\nNumberOfSounds=1\r\n[Sound-List]\r\n1=/" + std::string(296, 'p') +
             ".wav\r\n[Sound-Menu]\r\n1=" + std::string(298, 'M') + "\r\n"),
        Text(kJbwOk)},
       "",
       kNoStop,
       1});
  cases.push_back(
      {"LongTimerMode",
       {Text(kBsusOk), Text(kExternalOk),
        Text("[Settings]\r\nSetTimer=" + std::string(291, 'R') + "\r\nSetCustom=3\r\n")},
       "",
       kNoStop});

  // Binary junk, and text that only looks like settings.
  for (unsigned step = 0; step < 3; ++step) {
    Case c{"Junk" + std::string(kFileNames[step]).substr(0, 3),
           {Text(kBsusOk), Text(kExternalOk), Text(kJbwOk)},
           "",
           kNoStop};
    c.files[step] = Text(Junk(step + 1, 4096));
    cases.push_back(c);
  }
  cases.push_back({"EndOfTextCharacterHidesTheRest",
                   {Text("\x1a[Settings]\r\nNumberOfBSUs=abc\r\n"), Missing(), Missing()},
                   "",
                   kNoStop});
  cases.push_back({"LineFeedsAloneMakeOneLine",
                   {Text("[Settings]\nNumberOfBSUs=abc\n"), Missing(), Missing()},
                   "",
                   kNoStop});
  cases.push_back({"CarriageReturnsAloneEndLines",
                   {Text("[Settings]\rNumberOfBSUs=abc\r"), Missing(), Missing()},
                   NotAnInteger("abc"),
                   kBsus});
  cases.push_back({"ByteOrderMarkSpoilsTheHeader",
                   {Text("\xef\xbb\xbf[Settings]\r\nNumberOfBSUs=abc\r\n"), Missing(), Missing()},
                   "",
                   kNoStop});
  cases.push_back({"NulBytesAroundLines",
                   {Text("\0\0[Settings]\r\n\0\r\nNumberOfBSUs=abc\r\n"s), Missing(), Missing()},
                   "",
                   kNoStop});
  cases.push_back(
      {"JunkThenValidSettings",
       {Text(kBsusOk), Text(Junk(9, 300, false) + "\r\n" + "[Settings]\r\nNumberOfSounds=abc\r\n"),
        Missing()},
       NotAnInteger("abc"),
       kExternal});

  // Letter case, duplicates and near-miss names.
  cases.push_back({"LowerCaseNames",
                   {Text("[settings]\r\nnumberofbsus=abc\r\n"), Missing(), Missing()},
                   NotAnInteger("abc"),
                   kBsus});
  cases.push_back({"UpperCaseNamesLoadTheList",
                   {Text(kBsusOk),
                    Text("[SETTINGS]\r\nNUMBEROFSOUNDS=1\r\n[sound-list]\r\n1=/"
                         "x.wav\r\n[SOUND-MENU]\r\n1=X\r\n"),
                    Text(kJbwOk)},
                   "",
                   kNoStop,
                   1});
  cases.push_back({"FirstOfDuplicateSectionsCounts",
                   {Text("[Settings]\r\nNumberOfBSUs=abc\r\n[SETTINGS]\r\nNumberOfBSUs=0\r\n"),
                    Missing(), Missing()},
                   NotAnInteger("abc"),
                   kBsus});
  cases.push_back({"LaterDuplicateSectionIsIgnored",
                   {Text("[Settings]\r\nNumberOfBSUs=0\r\n[settings]\r\nNumberOfBSUs=abc\r\n"),
                    Text(kExternalOk), Text(kJbwOk)},
                   "",
                   kNoStop});
  cases.push_back(
      {"FirstOfDuplicateKeysCounts",
       {Text(kBsusOk), Text("[Settings]\r\nNumberOfSounds=abc\r\nNUMBEROFSOUNDS=0\r\n"), Missing()},
       NotAnInteger("abc"),
       kExternal});
  cases.push_back({"LaterDuplicateKeyIsIgnored",
                   {Text(kBsusOk), Text("[Settings]\r\nNumberOfSounds=0\r\nNumberOfSounds=abc\r\n"),
                    Text(kJbwOk)},
                   "",
                   kNoStop,
                   0});
  cases.push_back(
      {"DuplicateListSections",
       {Text(kBsusOk),
        Text("[Settings]\r\nNumberOfSounds=1\r\n[Sound-List]\r\n1=/a.wav\r\n[Sound-Menu]\r\n1=A\r\n"
             "[sound-list]\r\n1=/b.wav\r\n2=/c.wav\r\n"),
        Text(kJbwOk)},
       "",
       kNoStop,
       1});
  cases.push_back({"BlankInsideBracketsIsAnotherSection",
                   {Text("[ Settings]\r\nNumberOfBSUs=abc\r\n"), Missing(), Missing()},
                   "",
                   kNoStop});
  cases.push_back({"BlankAfterBracketIsNoHeader",
                   {Text("[Settings] \r\nNumberOfBSUs=abc\r\n"), Missing(), Missing()},
                   "",
                   kNoStop});
  cases.push_back({"BlanksAroundEqualsMakeAnotherKey",
                   {Text("[Settings]\r\nNumberOfBSUs = abc\r\n"), Missing(), Missing()},
                   "",
                   kNoStop});

  // A folder where a settings file belongs.
  cases.push_back(
      {"UnitsFileIsAFolder", {Folder(), Missing(), Missing()}, "File access denied", kBsus});
  cases.push_back(
      {"ExternalFileIsAFolder", {Missing(), Folder(), Missing()}, "File access denied", kExternal});
  cases.push_back({"TimerFileIsAFolder",
                   {Text(kBsusOk), Text(kExternalOk), Folder()},
                   "File access denied",
                   kJbw});
  return cases;
}

// Starts the main window in a folder prepared for one case and compares the outcome.
class StartWith {
 public:
  explicit StartWith(const Case& c) : case_(c) {
    for (int i = 0; i < 3; ++i) {
      const FileState& f = c.files[i];
      if (f.kind == FileState::Folder) {
        std::filesystem::create_directory(folder.File(kFileNames[i]));
        folder.Write(std::string(kFileNames[i]) + "/keep.txt", "inside");
      } else if (f.kind == FileState::Bytes) {
        folder.Write(kFileNames[i], f.bytes);
      }
    }
    folder.Write("registry.ini", "[Software\\Grindlewood]\r\nBrakken=Installed\r\n");
  }
  ~StartWith() {
    config.reset();
    if (previousPresenter) tk::SetMenuPresenter(previousPresenter);
    app::SetApplicationFolderForTests("");
  }

  void Start() {
    EnsureToolkitApp();
    app::SetApplicationFolderForTests(folder.Path());
    ::setenv("JBW_REGISTRY_FILE", folder.File("registry.ini").c_str(), 1);
    previousPresenter = tk::SetMenuPresenter([this](tk::TPopupMenu&, int, int) -> tk::TMenuItem* {
      ++popups;
      return nullptr;
    });
    config = std::make_unique<app::TFormConfig>(nullptr);
  }

  // Every difference from what the case expects, one per line; empty when none.
  std::string Differences() {
    std::ostringstream out;
    const auto errors = dialogs.Texts(tk::ScriptedDialogs::Kind::Error);
    const std::vector<std::string> wanted =
        case_.error.empty() ? std::vector<std::string>{} : std::vector<std::string>{case_.error};
    if (errors != wanted) {
      out << "error boxes:";
      for (const auto& e : errors) out << " [" << e << "]";
      out << " instead of [" << case_.error << "]\n";
    }
    for (int i = 0; i < 3; ++i) {
      const FileState& f = case_.files[i];
      const std::string file = kFileNames[i];
      if (f.kind == FileState::Missing) {
        const bool created = folder.Exists(file);
        if (created != (i < case_.stop)) out << file << (created ? " created\n" : " not created\n");
      } else if (f.kind == FileState::Folder) {
        if (!std::filesystem::is_directory(folder.File(file)) ||
            folder.Read(file + "/keep.txt") != "inside")
          out << file << " (a folder) changed\n";
      } else {
        const std::string want = i == kJbw && case_.jbwAfter ? *case_.jbwAfter : f.bytes;
        if (folder.Read(file) != want) out << file << " changed: [" << folder.Read(file) << "]\n";
      }
    }
    if (case_.externalSounds >= 0) {
      const int sounds = static_cast<int>(config->State().soundList.size()) - 1;
      if (sounds != case_.externalSounds) out << sounds << " sounds loaded\n";
    }
    // Running on: the splash closes and a right-click builds the menu.
    config->FormSplash->Timer->Fire();
    platform::SendMessageA(config->Handle(), tray::TwkTray::TrayCallbackMessage,
                           config->wkTray->TrayID(), platform::WM_RBUTTONDOWN);
    if (popups != 1) out << "the menu opened " << popups << " times\n";
    return out.str();
  }

  TempFolder folder;
  tk::ScriptedDialogs dialogs;

 private:
  const Case& case_;
  tk::TMenuPresenter previousPresenter;
  std::unique_ptr<app::TFormConfig> config;
  int popups = 0;
};

class BadSettingsTest : public ::testing::TestWithParam<Case> {};

TEST_P(BadSettingsTest, StartsReportsAndKeepsTheFiles) {
  StartWith start(GetParam());
  start.Start();
  EXPECT_EQ(start.Differences(), "");
}

INSTANTIATE_TEST_SUITE_P(Cases, BadSettingsTest, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           return info.param.name;
                         });

// An application folder nobody may write to. Permissions do not bind root, so the
// start runs in a child process as user nobody; the folder is opened to it for reading.
struct ReadOnlyCase {
  std::string name;
  FileState files[3];
  std::string error;
  Step stop;
};
std::ostream& operator<<(std::ostream& out, const ReadOnlyCase& c) {
  return out << c.name;
}

class ReadOnlyFolderTest : public ::testing::TestWithParam<ReadOnlyCase> {};

TEST_P(ReadOnlyFolderTest, StartsAndReportsTheFirstFileItCannotCreate) {
  const ReadOnlyCase& p = GetParam();
  Case c{p.name, {p.files[0], p.files[1], p.files[2]}, p.error, p.stop};
  StartWith start(c);
  ASSERT_EQ(::chmod(start.folder.Path().c_str(), 0555), 0);
  int pipeEnds[2];
  ASSERT_EQ(::pipe(pipeEnds), 0);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(pipeEnds[0]);
    constexpr uid_t kNobody = 65534;
    std::string report;
    if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
      report = "cannot become nobody\n";
    } else {
      start.Start();
      report = start.Differences();
    }
    (void)!::write(pipeEnds[1], report.data(), report.size());
    ::_exit(0);
  }
  ::close(pipeEnds[1]);
  std::string report;
  char buffer[512];
  for (ssize_t got; (got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
    report.append(buffer, got);
  ::close(pipeEnds[0]);
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the start crashed";
  EXPECT_EQ(report, "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadOnlyFolderTest,
    ::testing::Values(
        ReadOnlyCase{
            "AllFilesPresent", {Text(kBsusOk), Text(kExternalOk), Text(kJbwOk)}, "", kNoStop},
        ReadOnlyCase{"NoFiles", {Missing(), Missing(), Missing()}, "File access denied", kBsus},
        ReadOnlyCase{"TimerFileMissing",
                     {Text(kBsusOk), Text(kExternalOk), Missing()},
                     "File access denied",
                     kJbw}),
    [](const ::testing::TestParamInfo<ReadOnlyCase>& info) { return info.param.name; });

}  // namespace
