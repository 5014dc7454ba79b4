#include "BenchInputs.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace bench {

namespace {

// A settings file like the program's own, about 200 bytes.
std::string SmallText() {
  return "[Settings]\r\nNumberOfSounds=2\r\nLastDir=/home/user/jabberwell/Wavs\r\n"
         "SetTimer=Random\r\nSetCustom=3\r\n\r\n[Sound-List]\r\n1=/home/user/a.wav\r\n"
         "2=/home/user/b.wav\r\n\r\n[Sound-Menu]\r\n1=Hello\r\n2=World\r\n\r\n";
}

// Sections of one header and three lines of about 35 bytes each.
std::string ManySections(size_t targetBytes) {
  std::string text;
  text.reserve(targetBytes + 256);
  char line[128];
  for (int s = 0; text.size() < targetBytes; ++s) {
    std::snprintf(line, sizeof line, "[Section%06d]\r\n", s);
    text += line;
    for (int k = 0; k < 2; ++k) {
      std::snprintf(line, sizeof line, "Key%d=/usr/share/sounds/clip-%06d.wav\r\n", k, s);
      text += line;
    }
    text += "\r\n";
  }
  return text;
}

struct Inputs {
  std::string folder;
  Input files[4];

  Inputs() {
    char pattern[] = "/tmp/jbw-bench-ini-XXXXXX";
    if (!::mkdtemp(pattern)) std::abort();
    folder = pattern;
    const std::string large = ManySections(10 << 20);
    const std::string texts[4] = {SmallText(), ManySections(100 * 1000), large,
                                  large + "[Section000000]\r\nKey0=again\r\n\r\n"};
    const char* names[4] = {"small.ini", "medium.ini", "large.ini", "large-duplicate.ini"};
    for (int i = 0; i < 4; ++i) {
      files[i] = {folder + "/" + names[i], texts[i].size()};
      std::ofstream(files[i].path, std::ios::binary) << texts[i];
    }
  }
  ~Inputs() {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
};

}  // namespace

const Input& InputFile(int size) {
  static Inputs inputs;
  return inputs.files[size];
}

}  // namespace bench
