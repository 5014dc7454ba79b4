#include "platform/DynamicModule.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>

#include "platform/linux/modules/ElfCheck.h"
#include "platform/linux/unitreader/UnitImageCache.h"

namespace platform {

namespace {

thread_local std::string lastError;

// The loader serialises dlopen, dlsym and dlclose under its own lock, which the thread
// checker cannot see; taking ours around them costs nothing and makes the order visible.
std::mutex loaderMutex;

HMODULE Failed(std::string text) {
  lastError = std::move(text);
  return nullptr;
}

std::string Absolute(const char* path) {
  if (std::strchr(path, '/')) return path;
  std::error_code ec;
  auto full = std::filesystem::absolute(path, ec);
  return ec ? std::string("./") + path : full.string();
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

HMODULE LoadLibraryA(const char* path) {
  lastError.clear();
  if (!path || !*path) return Failed("no path");
  std::string full = Absolute(path);

  // O_NONBLOCK so that a FIFO under the unit's name cannot stall the caller.
  FileDescriptor fd(open(full.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) return Failed(full + ": " + std::strerror(errno));
  std::string why;
  if (!IsLoadableSharedObject(fd.get(), &why)) return Failed(full + ": " + why);

  // The file is checked and then loaded by name; the rule that units are replaced
  // by renaming keeps what lies under the name whole. (Loading through
  // /proc/self/fd/N is no cure: the loader matches such names against modules
  // already loaded under the same descriptor number.)
  std::unique_lock lock(loaderMutex);
  void* handle = dlopen(full.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* err = dlerror();
    std::string text = full + ": " + (err ? err : "cannot load");
    lock.unlock();
    return Failed(std::move(text));
  }
  return new Module{handle, std::move(full), nullptr};
}

HMODULE LoadLibraryExA(const char* path, void*, DWORD flags) {
  lastError.clear();
  if (flags != LOAD_LIBRARY_AS_DATAFILE) return Failed("only LOAD_LIBRARY_AS_DATAFILE is served");
  if (!path || !*path) return Failed("no path");
  std::string full = Absolute(path);
  std::string why;
  auto image = ReadUnitImage(full, &why);
  if (!image) return Failed(full + ": " + why);
  return new Module{nullptr, std::move(full), std::move(image)};
}

const SoundUnitStrings* GetSoundUnitStrings(HMODULE module) {
  return module && module->image ? &module->image->strings : nullptr;
}

FARPROC GetProcAddress(HMODULE module, const char* name) {
  if (!module || !module->handle || !name) return nullptr;
  std::lock_guard lock(loaderMutex);
  return reinterpret_cast<FARPROC>(dlsym(module->handle, name));
}

BOOL FreeLibrary(HMODULE module) {
  if (!module) return 0;
  std::unique_ptr<Module> owned(module);
  if (!owned->handle) return owned->image ? 1 : 0;
  std::lock_guard lock(loaderMutex);
  return owned->handle && dlclose(owned->handle) == 0 ? 1 : 0;
}

const std::string& LastModuleError() {
  return lastError;
}

}  // namespace platform
