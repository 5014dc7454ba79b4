#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "ini/BigIni.h"
#include "rtl/RuntimeErrors.h"
#include "support/TempFolder.h"

namespace ini::test {

// Every test gets its own empty folder, removed afterwards.
class IniTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return folder_.File(name); }

  void Put(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }

  std::string Get(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  std::vector<std::string> Names(const std::string& folder = "") const {
    std::vector<std::string> names;
    for (auto& e : std::filesystem::directory_iterator(folder.empty() ? folder_.Path() : folder)) {
      names.push_back(e.path().filename().string());
    }
    return names;
  }

  static std::vector<std::string> Export(TBigIniFile& ini) {
    std::vector<std::string> lines;
    ini.ExportLines(lines);
    return lines;
  }

  TempFolder folder_;
};

// Runs Body in a child process; its result is the child's exit code (or 128 + signal).
inline int InChild(const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    int code = 99;
    try {
      code = body();
    } catch (...) {
      code = 98;
    }
    ::_exit(code);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// The message of the EInOutError that Body raises, or "" when it raises none.
template <class F>
std::string IoErrorOf(F&& body) {
  try {
    body();
  } catch (const rtl::EInOutError& e) {
    return e.Message();
  }
  return "";
}

}  // namespace ini::test
