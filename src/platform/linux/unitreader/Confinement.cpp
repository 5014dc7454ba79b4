#include "platform/linux/unitreader/Confinement.h"

#include <fcntl.h>
#include <linux/landlock.h>
#include <seccomp.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

namespace {

bool Limit(int resource, rlim_t soft, rlim_t hard) {
  const rlimit limit{soft, hard};
  return setrlimit(resource, &limit) == 0;
}

bool SetLimits() {
  // Soft CPU limit first: SIGXCPU ends the reader; the hard one kills it regardless.
  return Limit(RLIMIT_CPU, 2, 3) && Limit(RLIMIT_AS, rlim_t{2} << 30, rlim_t{2} << 30) &&
         Limit(RLIMIT_FSIZE, 0, 0) && Limit(RLIMIT_CORE, 0, 0) && Limit(RLIMIT_NPROC, 0, 0) &&
         Limit(RLIMIT_NOFILE, 64, 64);
}

// Handles every write-like access and grants none, so the whole file system is
// read-only. Kernels without Landlock skip it; seccomp refuses the same opens anyway.
void ForbidWritingFiles() {
  const long abi =
      syscall(SYS_landlock_create_ruleset, nullptr, 0, LANDLOCK_CREATE_RULESET_VERSION);
  if (abi < 1) return;
  landlock_ruleset_attr attr{};
  attr.handled_access_fs =
      LANDLOCK_ACCESS_FS_EXECUTE | LANDLOCK_ACCESS_FS_WRITE_FILE | LANDLOCK_ACCESS_FS_REMOVE_DIR |
      LANDLOCK_ACCESS_FS_REMOVE_FILE | LANDLOCK_ACCESS_FS_MAKE_CHAR | LANDLOCK_ACCESS_FS_MAKE_DIR |
      LANDLOCK_ACCESS_FS_MAKE_REG | LANDLOCK_ACCESS_FS_MAKE_SOCK | LANDLOCK_ACCESS_FS_MAKE_FIFO |
      LANDLOCK_ACCESS_FS_MAKE_BLOCK | LANDLOCK_ACCESS_FS_MAKE_SYM;
#ifdef LANDLOCK_ACCESS_FS_REFER
  if (abi >= 2) attr.handled_access_fs |= LANDLOCK_ACCESS_FS_REFER;
#endif
#ifdef LANDLOCK_ACCESS_FS_TRUNCATE
  if (abi >= 3) attr.handled_access_fs |= LANDLOCK_ACCESS_FS_TRUNCATE;
#endif
  const long ruleset = syscall(SYS_landlock_create_ruleset, &attr, sizeof attr, 0);
  if (ruleset < 0) return;
  syscall(SYS_landlock_restrict_self, ruleset, 0);
  close(static_cast<int>(ruleset));
}

// Calls allowed without looking at their arguments: reading, mapping, memory, time,
// signals to itself and ending. Everything not here or below ends the process.
// clang-format off
constexpr int kAllowed[] = {
    SCMP_SYS(read),          SCMP_SYS(pread64),         SCMP_SYS(readv),
    SCMP_SYS(write),         SCMP_SYS(writev),          SCMP_SYS(close),
    SCMP_SYS(fstat),         SCMP_SYS(newfstatat),      SCMP_SYS(statx),
    SCMP_SYS(stat),          SCMP_SYS(lstat),           SCMP_SYS(lseek),
    SCMP_SYS(access),        SCMP_SYS(faccessat),       SCMP_SYS(faccessat2),
    SCMP_SYS(readlink),      SCMP_SYS(readlinkat),      SCMP_SYS(getdents64),
    SCMP_SYS(getcwd),        SCMP_SYS(fcntl),           SCMP_SYS(mmap),
    SCMP_SYS(munmap),        SCMP_SYS(mprotect),        SCMP_SYS(mremap),
    SCMP_SYS(madvise),       SCMP_SYS(brk),             SCMP_SYS(futex),
    SCMP_SYS(rt_sigaction),  SCMP_SYS(rt_sigprocmask),  SCMP_SYS(rt_sigreturn),
    SCMP_SYS(sigaltstack),   SCMP_SYS(exit),            SCMP_SYS(exit_group),
    SCMP_SYS(getpid),        SCMP_SYS(gettid),          SCMP_SYS(getuid),
    SCMP_SYS(geteuid),       SCMP_SYS(getgid),          SCMP_SYS(getegid),
    SCMP_SYS(getrandom),     SCMP_SYS(clock_gettime),   SCMP_SYS(clock_getres),
    SCMP_SYS(gettimeofday),  SCMP_SYS(clock_nanosleep), SCMP_SYS(nanosleep),
    SCMP_SYS(sched_yield),   SCMP_SYS(sched_getaffinity), SCMP_SYS(uname),
    SCMP_SYS(getrlimit),     SCMP_SYS(set_robust_list), SCMP_SYS(rseq),
    SCMP_SYS(getrusage),     SCMP_SYS(times),           SCMP_SYS(getppid),
};
// clang-format on

bool InstallFilter(std::string* why) {
  scmp_filter_ctx filter = seccomp_init(SCMP_ACT_KILL_PROCESS);
  if (!filter) {
    *why = "no seccomp";
    return false;
  }
  int rc = 0;
  for (int call : kAllowed) rc = rc ? rc : seccomp_rule_add(filter, SCMP_ACT_ALLOW, call, 0);
  // Opening for reading only: no write access, creating, truncating or appending
  // (O_TMPFILE needs write access too).
  const scmp_datum_t writing = O_WRONLY | O_RDWR | O_CREAT | O_TRUNC | O_APPEND;
  if (!rc)
    rc = seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(openat), 1,
                          SCMP_A2(SCMP_CMP_MASKED_EQ, writing, 0));
  if (!rc)
    rc = seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(open), 1,
                          SCMP_A1(SCMP_CMP_MASKED_EQ, writing, 0));
  // Reading its own limits, and signals only to itself (abort raises SIGABRT so).
  if (!rc)
    rc = seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(prlimit64), 1, SCMP_A2(SCMP_CMP_EQ, 0));
  const auto self = static_cast<scmp_datum_t>(getpid());
  if (!rc)
    rc = seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(tgkill), 1, SCMP_A0(SCMP_CMP_EQ, self));
  if (!rc)
    rc = seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(kill), 1, SCMP_A0(SCMP_CMP_EQ, self));
  // stdio asks whether a descriptor is a terminal before it prints.
  if (!rc)
    rc = seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(ioctl), 1, SCMP_A1(SCMP_CMP_EQ, TCGETS));
  if (!rc) rc = seccomp_load(filter);
  seccomp_release(filter);
  if (rc) *why = std::string("seccomp: ") + std::strerror(-rc);
  return rc == 0;
}

}  // namespace

bool ConfineReader(std::string* why) {
  if (!SetLimits()) {
    *why = std::string("limits: ") + std::strerror(errno);
    return false;
  }
  if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0) {
    *why = std::string("no_new_privs: ") + std::strerror(errno);
    return false;
  }
  ForbidWritingFiles();
  return InstallFilter(why);
}

}  // namespace platform
