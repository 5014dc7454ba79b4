/* A sound unit for tests that misbehaves as its compile definitions say:
 *
 *   BAD_CRASH_IN=1, 2 or 3  crashes in NumberofSounds, SoundsList or JbwResourceTable
 *   BAD_HANG                its constructor never returns
 *   BAD_WRITES="path"       its constructor and exports add a line to that file
 *   BAD_CONNECTS="name"     ... connect to the abstract local socket of that name
 *   BAD_STARTS="path"       ... run a shell command that adds a line to that file
 *   BAD_WILD_STRING         SoundsList answers a pointer to no memory for its clips
 *   BAD_UNTERMINATED        SoundsList answers a clip string that runs into unmapped memory
 *   BAD_LYING_TABLE         an absurd clip count, and a resource table with wild and
 *                           absurd entries and no end marker
 *   BAD_NOTHING             none of it, only printing a line as it loads
 *   BAD_PEEKS               its header tells how many environment variables it was given
 *                           and which descriptors it has open: "Peek:env N fds 0 1 ..."
 *
 * It serves "Bad:Misbehaving Unit" and the clips "Bad1" and "Bad2", small WAVE images
 * kept in writable data (so a reader must copy them rather than point into the file). */
#include <dirent.h>
#include <signal.h>
#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "jbw/SoundUnit.h"

static unsigned char wave[] = {'R',  'I',  'F', 'F', 40,   0,    0, 0, 'W', 'A', 'V', 'E',
                               'f',  'm',  't', ' ', 16,   0,    0, 0, 1,   0,   1,   0,
                               0x40, 0x1f, 0,   0,   0x80, 0x3e, 0, 0, 2,   0,   16,  0,
                               'd',  'a',  't', 'a', 4,    0,    0, 0, 1,   0,   2,   0};

static JbwResource table[] = {
    {"Bad1", "WAVE", wave, sizeof wave},
    {"Bad2", "WAVE", wave, sizeof wave},
    {0, 0, 0, 0},
};

static void Misbehave(void) {
#ifdef BAD_WRITES
  FILE* file = fopen(BAD_WRITES, "a");
  if (file) {
    fputs("written by a sound unit\n", file);
    fclose(file);
  }
#endif
#ifdef BAD_CONNECTS
  int s = socket(AF_UNIX, SOCK_STREAM, 0);
  struct sockaddr_un address;
  memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  memcpy(address.sun_path + 1, BAD_CONNECTS, strlen(BAD_CONNECTS));
  connect(s, (struct sockaddr*)&address,
          (socklen_t)(offsetof(struct sockaddr_un, sun_path) + 1 + strlen(BAD_CONNECTS)));
  close(s);
#endif
#ifdef BAD_STARTS
  if (system("echo started >> '" BAD_STARTS "'") != 0) return;
#endif
}

#ifdef BAD_PEEKS
extern char** environ;

static const char* Peek(void) {
  static char text[256];
  int env = 0;
  while (environ && environ[env]) ++env;
  int n = snprintf(text, sizeof text, "Peek:env %d fds", env);
  DIR* fds = opendir("/proc/self/fd");
  struct dirent* entry;
  while (fds && (entry = readdir(fds)) && n < (int)sizeof text - 8)
    if (entry->d_name[0] != '.' && atoi(entry->d_name) != dirfd(fds))
      n += snprintf(text + n, sizeof text - (size_t)n, " %s", entry->d_name);
  if (fds) closedir(fds);
  return text;
}
#endif

static void Crash(int where) {
#ifdef BAD_CRASH_IN
  if (where == BAD_CRASH_IN) raise(SIGSEGV);
#else
  (void)where;
#endif
}

__attribute__((constructor)) static void Start(void) {
#ifdef BAD_HANG
  for (;;) sleep(1);
#endif
#ifdef BAD_NOTHING
  printf("a unit says hello\n");
  fflush(stdout);
#endif
  Misbehave();
}

JBW_UNIT_EXPORT int32_t NumberofSounds(void) {
  Crash(1);
  Misbehave();
#ifdef BAD_LYING_TABLE
  return 2147483647;
#else
  return 2;
#endif
}

JBW_UNIT_EXPORT const char* SoundsList(int32_t i) {
  Crash(2);
  Misbehave();
#ifdef BAD_PEEKS
  if (i == 0) return Peek();
#endif
  if (i == 0) return "Bad:Misbehaving Unit";
#if defined(BAD_WILD_STRING)
  return (const char*)16;
#elif defined(BAD_UNTERMINATED)
  /* 100 letters, then a page that cannot be read. */
  char* pages = mmap(0, 8192, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (pages == MAP_FAILED) return "";
  memset(pages, 'x', 4096);
  mprotect(pages + 4096, 4096, PROT_NONE);
  return pages + 4096 - 100;
#else
  return i == 1 ? "Bad1:Bad One" : i == 2 ? "Bad2:Bad Two" : "";
#endif
}

JBW_UNIT_EXPORT const JbwResource* JbwResourceTable(int32_t* count) {
  Crash(3);
  Misbehave();
#ifdef BAD_LYING_TABLE
  /* A page of entries pointing nowhere, with absurd sizes, named by unterminated text
     or nothing at all, and no end marker before the page that cannot be read. */
  static const char unterminated[4] = {'B', 'a', 'd', '1'};
  JbwResource* lies = mmap(0, 8192, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (lies == MAP_FAILED) return table;
  size_t n = 4096 / sizeof(JbwResource);
  for (size_t k = 0; k < n; ++k) {
    lies[k].name = k % 3 == 0 ? "Bad1" : k % 3 == 1 ? (const char*)8 : unterminated;
    lies[k].type = k % 2 ? "WAVE" : (const char*)24;
    lies[k].data = k % 2 ? (const void*)4096 : (const void*)wave;
    lies[k].size = k % 4 == 1 ? ((uint64_t)1 << 62) : 1u << 20;
  }
  mprotect((char*)lies + 4096, 4096, PROT_NONE);
  *count = 2147483647;
  return lies;
#else
  *count = 2;
  return table;
#endif
}
