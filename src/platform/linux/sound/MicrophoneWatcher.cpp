#include "platform/linux/sound/MicrophoneWatcher.h"

#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/VirtualMicrophone.h"

extern char** environ;

namespace platform {

namespace {

// $0 is the program, $1 its cleanup option, $2 the application folder.
constexpr char kScript[] =
    "while read -r line; do [ \"$line\" = off ] && exit 0; done; exec \"$0\" \"$1\" \"$2\"";

}  // namespace

MicrophoneWatcher::MicrophoneWatcher(const std::string& program, const std::string& appFolder) {
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return;
  posix_spawn_file_actions_t files;
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_adddup2(&files, ends[0], STDIN_FILENO);
  // Nothing else of ours: a bus or display connection held on by the shell would outlive
  // a killed program.
  posix_spawn_file_actions_addclosefrom_np(&files, STDERR_FILENO + 1);
  posix_spawnattr_init(&attributes);
  // Out of the terminal's process group: a Ctrl-C or a hang-up that ends the program
  // must not end its watcher too.
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK);
  char* argv[] = {const_cast<char*>("sh"),
                  const_cast<char*>("-c"),
                  const_cast<char*>(kScript),
                  const_cast<char*>(program.c_str()),
                  const_cast<char*>(kMicrophoneCleanupOption),
                  const_cast<char*>(appFolder.c_str()),
                  nullptr};
  pid_t pid = -1;
  const int failed = posix_spawn(&pid, "/bin/sh", &files, &attributes, argv, environ);
  posix_spawn_file_actions_destroy(&files);
  posix_spawnattr_destroy(&attributes);
  ::close(ends[0]);
  if (failed) {
    ::close(ends[1]);
    return;
  }
  socket_ = ends[1];
  pid_ = pid;
}

MicrophoneWatcher::~MicrophoneWatcher() {
  if (pid_ <= 0) return;
  // A shell that is gone already (killed by hand) must not kill us with SIGPIPE.
  ::send(socket_, "off\n", 4, MSG_NOSIGNAL);
  ::close(socket_);
  ::waitpid(pid_, nullptr, 0);
}

}  // namespace platform
