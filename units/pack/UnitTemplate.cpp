// The prebuilt unit that jbw-unit-pack copies: its exports serve the payload appended
// to its own file. The payload is mapped read-only in place while the loader runs the
// module's constructors, right after the file was checked, so loading a unit costs
// the same whatever the size of its clips; units are replaced by renaming, never
// written in place, so the mapping stays whole.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "jbw/PackFormat.h"
#include "jbw/SoundUnit.h"

extern "C" {
extern void* __dso_handle;
int __cxa_atexit(void (*handler)(void*), void* argument, void* module);
}

namespace {

using namespace jbw::pack;

class Reader {
 public:
  explicit Reader(std::span<const char> bytes) : bytes_(bytes) {}
  bool Take(void* out, size_t size) {
    if (size > bytes_.size() - pos_) return false;
    std::memcpy(out, bytes_.data() + pos_, size);
    pos_ += size;
    return true;
  }
  bool U32(uint32_t& v) { return Take(&v, 4); }
  bool U64(uint64_t& v) { return Take(&v, 8); }
  bool Text(std::string& s) {
    uint32_t length = 0;
    if (!U32(length) || length > kMaxTextLength || length > bytes_.size() - pos_) return false;
    s.assign(bytes_.data() + pos_, length);
    pos_ += length;
    return true;
  }
  // Where `size` bytes start, skipping them; nullptr if they run past the end.
  const char* Skip(uint64_t size) {
    if (size > bytes_.size() - pos_) return nullptr;
    const char* at = bytes_.data() + pos_;
    pos_ += static_cast<size_t>(size);
    return at;
  }

 private:
  std::span<const char> bytes_;
  size_t pos_ = 0;
};

bool ReadAt(int fd, void* out, uint64_t size, uint64_t offset) {
  auto* p = static_cast<char*>(out);
  while (size > 0) {
    ssize_t got = pread(fd, p, static_cast<size_t>(size), static_cast<off_t>(offset));
    if (got <= 0) return false;
    p += got;
    size -= static_cast<uint64_t>(got);
    offset += static_cast<uint64_t>(got);
  }
  return true;
}

constexpr JbwResource kEnd{nullptr, nullptr, nullptr, 0};

// Play threads are not waited for when the program ends, and exit runs the destructors
// of the modules they still hold. So the clips and their mapping are released only when
// the module unloads: an unload runs the destructor functions before the exit handlers
// of the module, an exit runs those handlers first, and the handler registered at load
// tells the two apart. (A unit loaded after the exit began misses it; the program does
// not run the finalizers while a play thread may be loading.)
bool exiting = false;
void* mapping = nullptr;
size_t mappingLength = 0;

__attribute__((destructor)) void UnmapPayload() {
  if (mapping && !exiting) munmap(mapping, mappingLength);
}

class PackedUnit {
 public:
  PackedUnit() {
    Dl_info self{};
    if (dladdr(reinterpret_cast<void*>(&NumberofSounds), &self) && self.dli_fname)
      Load(self.dli_fname);
    if (strings_.empty()) strings_.push_back("JbwTemplate:Empty sound unit");
  }

  int32_t Count() const { return static_cast<int32_t>(names_.size()); }
  const char* String(int32_t i) const {
    return i >= 0 && static_cast<size_t>(i) < strings_.size() ? strings_[i].c_str() : "";
  }
  const JbwResource* Resources() const { return resources_.empty() ? &kEnd : resources_.data(); }

 private:
  void Load(const char* path) {
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    if (ReadPayload(fd)) Parse();
    close(fd);
  }

  bool ReadPayload(int fd) {
    struct stat st {};
    if (fstat(fd, &st) != 0 || static_cast<uint64_t>(st.st_size) < kTrailerSize) return false;
    const auto fileSize = static_cast<uint64_t>(st.st_size);
    char trailer[kTrailerSize];
    if (!ReadAt(fd, trailer, kTrailerSize, fileSize - kTrailerSize)) return false;
    if (std::memcmp(trailer + 16, kTrailerMagic, 8) != 0) return false;
    uint64_t offset = 0, size = 0;
    std::memcpy(&offset, trailer, 8);
    std::memcpy(&size, trailer + 8, 8);
    if (size > kMaxPayloadBytes || offset > fileSize - kTrailerSize ||
        size != fileSize - kTrailerSize - offset)
      return false;
    if (size == 0) return false;
    const auto page = static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
    const uint64_t start = offset - offset % page;
    const auto length = static_cast<size_t>(size + (offset - start));
    void* at = mmap(nullptr, length, PROT_READ, MAP_PRIVATE, fd, static_cast<off_t>(start));
    if (at == MAP_FAILED) return false;
    mapping = at;
    mappingLength = length;
    payload_ = {static_cast<const char*>(at) + (offset - start), static_cast<size_t>(size)};
    return true;
  }

  void Parse() {
    Reader in(payload_);
    char magic[8];
    uint32_t count = 0;
    std::string header;
    if (!in.Take(magic, 8) || std::memcmp(magic, kPayloadMagic, 8) != 0 || !in.U32(count) ||
        count > kMaxClips || !in.Text(header))
      return;
    std::vector<std::string> strings{header};
    std::vector<std::string> names;
    std::vector<std::pair<const char*, uint64_t>> clips;
    for (uint32_t i = 0; i < count; ++i) {
      std::string name, caption;
      uint64_t size = 0;
      if (!in.Text(name) || !in.Text(caption) || !in.U64(size) || size > kMaxClipBytes) return;
      const char* data = in.Skip(size);
      if (!data) return;
      strings.push_back(name + ":" + caption);
      names.push_back(std::move(name));
      clips.emplace_back(data, size);
    }
    // Only a payload that parses whole is served; the table points into names_,
    // which is never resized afterwards.
    strings_ = std::move(strings);
    names_ = std::move(names);
    for (size_t i = 0; i < clips.size(); ++i)
      resources_.push_back({names_[i].c_str(), "WAVE", clips[i].first, clips[i].second});
    resources_.push_back({nullptr, nullptr, nullptr, 0});
  }

  std::span<const char> payload_;
  std::vector<std::string> strings_;
  std::vector<std::string> names_;
  std::vector<JbwResource> resources_;
};

const PackedUnit* unit = nullptr;

__attribute__((constructor)) void LoadUnit() {
  // Registered for this module, so an unload runs and drops it. A plain atexit may bind
  // it to the process instead (ThreadSanitizer's runtime takes it so), which would call
  // into the unloaded module at exit. Too late to register means the process is already
  // exiting.
  if (__cxa_atexit([](void*) { exiting = true; }, nullptr, &__dso_handle) != 0) exiting = true;
  unit = new PackedUnit;
}

__attribute__((destructor)) void FreeUnit() {
  if (!exiting) delete unit;
}

}  // namespace

int32_t NumberofSounds(void) {
  return unit->Count();
}

const char* SoundsList(int32_t i) {
  return unit->String(i);
}

const JbwResource* JbwResourceTable(int32_t* count) {
  if (count) *count = unit->Count();
  return unit->Resources();
}
