#include "platform/linux/unitreader/UnitExports.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <setjmp.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "jbw/SoundUnitAbi.h"
#include "platform/ModuleResources.h"
#include "platform/linux/unitreader/ClipNames.h"

namespace platform {

namespace {

sigjmp_buf faultJump;

void OnFault(int) {
  siglongjmp(faultJump, 1);
}

// Catches SIGSEGV and SIGBUS while it lives, so that reading memory a unit pointed to
// fails instead of ending the reader; the unit's own faults still end it.
class FaultGuard {
 public:
  FaultGuard() {
    struct sigaction action {};
    action.sa_handler = OnFault;
    action.sa_flags = SA_NODEFER;
    sigaction(SIGSEGV, &action, &segv_);
    sigaction(SIGBUS, &action, &bus_);
  }
  ~FaultGuard() {
    sigaction(SIGSEGV, &segv_, nullptr);
    sigaction(SIGBUS, &bus_, nullptr);
  }

 private:
  struct sigaction segv_ {};
  struct sigaction bus_ {};
};

// The length of a string of at most `limit` characters at `text`; -1 when it faults.
long GuardedLength(const char* text, size_t limit) {
  FaultGuard guard;
  if (sigsetjmp(faultJump, 1)) return -1;
  const volatile char* p = text;
  size_t n = 0;
  while (n < limit && p[n]) ++n;
  return static_cast<long>(n);
}

bool GuardedCopy(void* to, const void* from, size_t size) {
  FaultGuard guard;
  if (sigsetjmp(faultJump, 1)) return false;
  std::memcpy(to, from, size);
  return true;
}

// A string the unit answered, cut at `limit`; false when it points to no memory.
bool CopyText(const char* text, size_t limit, std::string& out) {
  out.clear();
  if (!text) return true;
  const long length = GuardedLength(text, limit);
  if (length < 0) return false;
  out.assign(text, static_cast<size_t>(length));
  return true;
}

struct Mapping {
  uintptr_t start = 0, end = 0;
  bool readOnly = false;  // readable and not writable
  uint64_t offset = 0;
  dev_t device = 0;
  ino_t inode = 0;
};

std::vector<Mapping> ReadMaps() {
  std::vector<Mapping> maps;
  FILE* file = std::fopen("/proc/self/maps", "re");
  if (!file) return maps;
  char line[4096];
  while (std::fgets(line, sizeof line, file)) {
    unsigned long start = 0, end = 0, offset = 0, inode = 0;
    unsigned major = 0, minor = 0;
    char perms[8] = {};
    if (std::sscanf(line, "%lx-%lx %7s %lx %x:%x %lu", &start, &end, perms, &offset, &major, &minor,
                    &inode) != 7)
      continue;
    maps.push_back({start, end, perms[0] == 'r' && perms[1] != 'w', offset, makedev(major, minor),
                    static_cast<ino_t>(inode)});
  }
  std::fclose(file);
  return maps;
}

struct ResourceEntry {
  std::string name;
  std::string type;
  const void* data;
  uint64_t size;
};

class Inspector {
 public:
  Inspector(int unitFd, int memoryFd) : memoryFd_(memoryFd) { fstat(unitFd, &unit_); }
  ~Inspector() {
    if (memory_) munmap(memory_, kMaxMemoryFileBytes);
  }

  ReaderAnswer Run(const char* path) {
    ReaderAnswer answer;
    void* handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
      const char* error = dlerror();
      return NotRead(error ? error : "it does not load");
    }
    const auto numberOfSounds =
        reinterpret_cast<JbwNumberofSoundsFn>(dlsym(handle, JBW_EXPORT_NUMBER_OF_SOUNDS));
    const auto soundsList =
        reinterpret_cast<JbwSoundsListFn>(dlsym(handle, JBW_EXPORT_SOUNDS_LIST));
    if (!numberOfSounds || !soundsList) return NotRead("it lacks NumberofSounds or SoundsList");

    const int32_t count = std::clamp<int32_t>(numberOfSounds(), 0, kMaxUnitClips);
    if (!CopyText(soundsList(0), kMaxUnitText, answer.header))
      return NotRead("its header points outside its memory");
    answer.clips.resize(count);
    for (int32_t i = 1; i <= count; ++i)
      if (!CopyText(soundsList(i), kMaxUnitText, answer.clips[i - 1].text))
        return NotRead("clip " + std::to_string(i) + " points outside its memory");

    ReadResources(reinterpret_cast<JbwResourceTableFn>(dlsym(handle, JBW_EXPORT_RESOURCE_TABLE)));
    maps_ = ReadMaps();
    for (auto& clip : answer.clips) Locate(clip);
    answer.read = true;
    answer.memoryUsed = memoryUsed_;
    return answer;
  }

 private:
  static ReaderAnswer NotRead(std::string why) {
    ReaderAnswer answer;
    answer.why = std::move(why);
    return answer;
  }

  // The table as far as its count, its end marker or its readable memory go, keeping
  // the entries that could be a clip.
  void ReadResources(JbwResourceTableFn table) {
    if (!table) return;
    int32_t count = 0;
    const JbwResource* entries = table(&count);
    if (!entries) return;
    count = std::min(count, kMaxModuleResources);
    for (int32_t i = 0; i < count; ++i) {
      JbwResource r{};
      if (!GuardedCopy(&r, entries + i, sizeof r) || !r.name) return;
      ResourceEntry entry{{}, {}, r.data, r.size};
      if (!r.type || !r.data || r.size == 0 || r.size > kMaxResourceBytes) continue;
      if (!CopyText(r.name, kMaxResourceNameLength, entry.name) || !CopyText(r.type, 8, entry.type))
        continue;
      resources_.push_back(std::move(entry));
    }
  }

  void Locate(ReaderAnswer::Clip& clip) {
    const std::string name = ResourceNameOf(clip.text);
    if (name.empty()) return;
    for (const auto& r : resources_) {
      if (!SameNameIgnoringCase(r.name, name) || !SameNameIgnoringCase(r.type, "WAVE")) continue;
      clip.length = r.size;
      if (InUnitFile(r.data, r.size, clip.offset))
        clip.where = ReaderAnswer::Where::UnitFile;
      else if (CopyToMemory(r.data, r.size, clip.offset))
        clip.where = ReaderAnswer::Where::MemoryFile;
      else
        clip.length = 0;
      return;
    }
  }

  // Where [data, data + size) lies in the unit file, when read-only mappings of the
  // file hold all of it at consecutive offsets: then the file's bytes are the clip's.
  bool InUnitFile(const void* data, uint64_t size, uint64_t& offset) const {
    const auto at = reinterpret_cast<uintptr_t>(data);
    const auto ofUnit = [this](const Mapping& m) {
      return m.readOnly && m.device == unit_.st_dev && m.inode == unit_.st_ino;
    };
    for (size_t i = 0; i < maps_.size(); ++i) {
      if (at < maps_[i].start || at >= maps_[i].end || !ofUnit(maps_[i])) continue;
      offset = maps_[i].offset + (at - maps_[i].start);
      uint64_t covered = maps_[i].end - at;
      for (size_t j = i + 1; covered < size && j < maps_.size(); ++j) {
        const Mapping& prev = maps_[j - 1];
        const Mapping& next = maps_[j];
        if (!ofUnit(next) || next.start != prev.end ||
            next.offset != prev.offset + (prev.end - prev.start))
          return false;
        covered += next.end - next.start;
      }
      const auto fileSize = static_cast<uint64_t>(unit_.st_size);
      return covered >= size && offset <= fileSize && size <= fileSize - offset;
    }
    return false;
  }

  bool CopyToMemory(const void* data, uint64_t size, uint64_t& offset) {
    if (size > kMaxMemoryFileBytes - memoryUsed_) return false;
    if (!memory_) {
      void* at =
          mmap(nullptr, kMaxMemoryFileBytes, PROT_READ | PROT_WRITE, MAP_SHARED, memoryFd_, 0);
      if (at == MAP_FAILED) return false;
      memory_ = static_cast<uint8_t*>(at);
    }
    if (!GuardedCopy(memory_ + memoryUsed_, data, size)) return false;
    offset = memoryUsed_;
    memoryUsed_ += size;
    return true;
  }

  int memoryFd_;
  struct stat unit_ {};
  uint8_t* memory_ = nullptr;
  uint64_t memoryUsed_ = 0;
  std::vector<ResourceEntry> resources_;
  std::vector<Mapping> maps_;
};

}  // namespace

ReaderAnswer InspectUnit(int unitFd, int memoryFd) {
  Inspector inspector(unitFd, memoryFd);
  return inspector.Run(("/proc/self/fd/" + std::to_string(unitFd)).c_str());
}

}  // namespace platform
