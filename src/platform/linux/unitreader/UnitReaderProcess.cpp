#include "platform/linux/unitreader/UnitReaderProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>
#include <utility>
#include <vector>

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

// A unit lists its clips in milliseconds; one that takes this long is not reading them.
constexpr auto kTimeLimit = std::chrono::seconds(3);

class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() { Reset(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }
  int Release() { return std::exchange(fd_, -1); }
  void Reset(int fd = -1) {
    if (fd_ >= 0) close(fd_);
    fd_ = fd;
  }

 private:
  int fd_;
};

std::nullopt_t Fail(std::string* why, std::string text) {
  if (why) *why = std::move(text);
  return std::nullopt;
}

std::string ReaderPath() {
  if (const char* path = std::getenv("JBW_UNIT_READER"); path && *path) return path;
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return (exe.parent_path() / "jbw-unit-reader").string();
}

// The reader's reason, which a unit could have written itself, as one short line of
// plain characters.
std::string Printable(const std::string& text) {
  std::string line;
  for (char c : text.substr(0, 200)) line += c >= ' ' && c <= '~' ? c : '?';
  return line;
}

enum class ReadEnd { Done, TooLong, TimedOut, Failed };

// Reads the reader's output until it closes it, the size limit or the deadline.
ReadEnd ReadOutput(int fd, Clock::time_point deadline, std::vector<uint8_t>& out) {
  std::vector<uint8_t> buffer(64 * 1024);
  for (;;) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return ReadEnd::TimedOut;
    pollfd p{fd, POLLIN, 0};
    const int ready = poll(&p, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno != EINTR) return ReadEnd::Failed;
    if (ready <= 0) continue;
    const ssize_t got = read(fd, buffer.data(), buffer.size());
    if (got < 0 && errno != EINTR && errno != EAGAIN) return ReadEnd::Failed;
    if (got == 0) return ReadEnd::Done;
    if (got < 0) continue;
    if (out.size() + static_cast<size_t>(got) > kMaxAnswerBytes) return ReadEnd::TooLong;
    out.insert(out.end(), buffer.begin(), buffer.begin() + got);
  }
}

// The reader's wait status; killed first when it has not ended by the deadline.
int Reap(pid_t pid, Clock::time_point deadline, bool* killed) {
  int status = 0;
  for (;;) {
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) return status;
    if (done < 0 && errno != EINTR) return -1;
    if (Clock::now() >= deadline) break;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  *killed = true;
  kill(pid, SIGKILL);
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return status;
}

std::string Ended(int status) {
  if (WIFEXITED(status))
    return "the unit reader ended with status " + std::to_string(WEXITSTATUS(status));
  if (!WIFSIGNALED(status)) return "the unit reader failed";
  const int sig = WTERMSIG(status);
  if (sig == SIGSYS) return "it made a system call a unit may not make";
  if (sig == SIGXCPU) return "it used too much processor time";
  if (sig == SIGXFSZ) return "it tried to write a file";
  const char* name = sigabbrev_np(sig);
  return std::string("it crashed (SIG") + (name ? name : std::to_string(sig).c_str()) + ")";
}

// Starts the reader with the descriptors it may have: 0 to 2 /dev/null (what a unit
// prints goes nowhere), 3 the unit, 4 the memory file, 5 the answer pipe; nothing
// else, and no environment.
pid_t Spawn(const std::string& path, int output, int unitFd, int memoryFile, std::string* why) {
  Descriptor devNull(open("/dev/null", O_RDWR | O_CLOEXEC));
  // Moved above the numbers they go to, so that no dup2 overwrites another's source.
  Descriptor high[4];
  const int sources[4] = {devNull.Get(), output, unitFd, memoryFile};
  for (int i = 0; i < 4; ++i) {
    high[i].Reset(fcntl(sources[i], F_DUPFD_CLOEXEC, 10));
    if (high[i].Get() < 0) {
      Fail(why, std::string("cannot start the unit reader: ") + std::strerror(errno));
      return -1;
    }
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  for (int fd : {0, 1, 2}) posix_spawn_file_actions_adddup2(&actions, high[0].Get(), fd);
  posix_spawn_file_actions_adddup2(&actions, high[2].Get(), 3);
  posix_spawn_file_actions_adddup2(&actions, high[3].Get(), 4);
  posix_spawn_file_actions_adddup2(&actions, high[1].Get(), 5);
  posix_spawn_file_actions_addclosefrom_np(&actions, 6);
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setsigdefault(&attr, &all);
  posix_spawnattr_setpgroup(&attr, 0);
  posix_spawnattr_setflags(&attr,
                           POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
  char name[] = "jbw-unit-reader";
  char* argv[] = {name, nullptr};
  char* envp[] = {nullptr};
  pid_t pid = -1;
  const int error = posix_spawn(&pid, path.c_str(), &actions, &attr, argv, envp);
  posix_spawnattr_destroy(&attr);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) {
    Fail(why, "cannot start the unit reader " + path + ": " + std::strerror(error));
    return -1;
  }
  return pid;
}

}  // namespace

std::optional<ReaderResult> AskUnitReader(int unitFd, uint64_t unitFileSize, std::string* why) {
  Descriptor memory(memfd_create("jbw-unit-clips", MFD_CLOEXEC | MFD_ALLOW_SEALING));
  if (memory.Get() < 0 || ftruncate(memory.Get(), static_cast<off_t>(kMaxMemoryFileBytes)) != 0)
    return Fail(why, std::string("cannot make a memory file: ") + std::strerror(errno));
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0)
    return Fail(why, std::string("cannot make a pipe: ") + std::strerror(errno));
  Descriptor input(ends[0]);
  Descriptor output(ends[1]);

  const auto deadline = Clock::now() + kTimeLimit;
  const pid_t pid = Spawn(ReaderPath(), output.Get(), unitFd, memory.Get(), why);
  if (pid < 0) return std::nullopt;
  output.Reset();  // the reader's end of file must come when the reader is gone

  std::vector<uint8_t> bytes;
  const ReadEnd end = ReadOutput(input.Get(), deadline, bytes);
  bool killed = false;
  const int status = Reap(pid, end == ReadEnd::Done ? deadline : Clock::now(), &killed);
  if (end == ReadEnd::TimedOut || (killed && end == ReadEnd::Done))
    return Fail(why, "it took longer than 3 s");
  if (end == ReadEnd::TooLong) return Fail(why, "its answer was too long");
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || end != ReadEnd::Done)
    return Fail(why, Ended(status));

  auto answer = ParseReaderAnswer(bytes, unitFileSize, kMaxMemoryFileBytes, why);
  if (!answer) return std::nullopt;
  if (!answer->read) return Fail(why, Printable(answer->why));

  ReaderResult result{std::move(*answer), -1};
  if (result.answer.memoryUsed > 0) {
    // The reader is gone; what it wrote is fixed from here on.
    constexpr int kSeals = F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_WRITE | F_SEAL_SEAL;
    if (ftruncate(memory.Get(), static_cast<off_t>(result.answer.memoryUsed)) != 0 ||
        fcntl(memory.Get(), F_ADD_SEALS, kSeals) != 0)
      return Fail(why, std::string("cannot seal the memory file: ") + std::strerror(errno));
    result.memoryFile = memory.Release();
  }
  return result;
}

}  // namespace platform
