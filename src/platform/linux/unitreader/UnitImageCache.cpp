#include "platform/linux/unitreader/UnitImageCache.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/linux/modules/ElfCheck.h"
#include "platform/linux/unitreader/ClipNames.h"
#include "platform/linux/unitreader/PackedUnit.h"
#include "platform/linux/unitreader/UnitReaderProcess.h"

namespace platform {

namespace {

// Far more units than three slots and a few browses in the editor ever read.
constexpr size_t kMaxKeptUnits = 16;

struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  int64_t mtimeSeconds = 0;
  int64_t mtimeNanoseconds = 0;
  bool operator==(const FileIdentity&) const = default;
};

struct Reading {
  FileIdentity identity;
  std::shared_ptr<const UnitImage> image;  // null when it could not be read
  std::string why;
};

std::mutex readingsMutex;
std::map<std::string, Reading>& Readings() {
  static std::map<std::string, Reading> readings;
  return readings;
}

std::shared_ptr<UnitImage> FromPacked(std::shared_ptr<UnitImage> image, std::string* why) {
  const auto bytes = image->file.Bytes();
  auto packed = ParsePackedUnit(bytes, why);
  if (!packed) return nullptr;
  image->strings.header = std::move(packed->header);
  for (auto& clip : packed->clips) {
    image->strings.clips.push_back(clip.name + ":" + clip.caption);
    image->resources.push_back({std::move(clip.name), bytes.subspan(clip.offset, clip.size)});
  }
  return image;
}

std::shared_ptr<UnitImage> FromReader(std::shared_ptr<UnitImage> image, int fd, std::string* why) {
  if (!IsLoadableSharedObject(fd, why)) return nullptr;
  auto result = AskUnitReader(fd, image->file.Bytes().size(), why);
  if (!result) return nullptr;
  if (result->memoryFile >= 0) {
    image->memory = ReadOnlyMapping::Map(result->memoryFile, result->answer.memoryUsed);
    close(result->memoryFile);
    if (!image->memory.Mapped()) {
      *why = "cannot map the clips the reader copied";
      return nullptr;
    }
  }
  image->strings.header = std::move(result->answer.header);
  for (auto& clip : result->answer.clips) {
    using Where = ReaderAnswer::Where;
    if (clip.where != Where::None) {
      const auto& from = clip.where == Where::UnitFile ? image->file : image->memory;
      image->resources.push_back(
          {ResourceNameOf(clip.text), from.Bytes().subspan(clip.offset, clip.length)});
    }
    image->strings.clips.push_back(std::move(clip.text));
  }
  return image;
}

std::shared_ptr<const UnitImage> ReadImage(int fd, uint64_t size, std::string* why) {
  auto image = std::make_shared<UnitImage>();
  image->file = ReadOnlyMapping::Map(fd, size);
  if (!image->file.Mapped()) {
    *why = size == 0 ? "empty file" : "cannot map the file";
    return nullptr;
  }
  if (HasPackTrailer(image->file.Bytes())) return FromPacked(std::move(image), why);
  return FromReader(std::move(image), fd, why);
}

}  // namespace

std::shared_ptr<const UnitImage> ReadUnitImage(const std::string& path, std::string* why) {
  // O_NONBLOCK so that a FIFO under the unit's name cannot stall the caller.
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    *why = std::strerror(errno);
    return nullptr;
  }
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    *why = "not a regular file";
    return nullptr;
  }
  const FileIdentity identity{st.st_dev, st.st_ino, st.st_size, st.st_mtim.tv_sec,
                              st.st_mtim.tv_nsec};
  {
    std::lock_guard lock(readingsMutex);
    auto found = Readings().find(path);
    if (found != Readings().end() && found->second.identity == identity) {
      close(fd);
      *why = found->second.why;
      return found->second.image;
    }
  }
  Reading reading{identity, ReadImage(fd, static_cast<uint64_t>(st.st_size), why), *why};
  close(fd);
  std::lock_guard lock(readingsMutex);
  if (Readings().size() >= kMaxKeptUnits) Readings().clear();
  Readings()[path] = reading;
  return reading.image;
}

}  // namespace platform
