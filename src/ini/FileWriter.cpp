#include "ini/FileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "rtl/RuntimeErrors.h"

namespace ini {

namespace {

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Follows symbolic links to the file they finally name, which need not exist yet.
std::string ResolveLinks(const std::string& path) {
  std::string current = path;
  for (int depth = 0; depth < 40; ++depth) {
    char target[PATH_MAX];
    const ssize_t n = ::readlink(current.c_str(), target, sizeof target - 1);
    if (n < 0) {
      if (errno == EINVAL || errno == ENOENT || errno == ENOTDIR) return current;
      throw rtl::EInOutError::FromErrno(errno);
    }
    std::string next(target, static_cast<size_t>(n));
    if (next.empty() || next[0] != '/') {
      const size_t slash = current.rfind('/');
      if (slash != std::string::npos) next = current.substr(0, slash + 1) + next;
    }
    current = std::move(next);
  }
  throw rtl::EInOutError::FromErrno(ELOOP);
}

// Short whatever the file's name, so a file whose name is near the length limit can
// still be saved.
std::string TempNameFor(const std::string& target, unsigned attempt) {
  const size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  char name[48];
  timespec now;
  ::clock_gettime(CLOCK_REALTIME, &now);
  std::snprintf(name, sizeof name, ".jbw.%ld.%lx.%u.tmp", static_cast<long>(::getpid()),
                static_cast<unsigned long>(now.tv_nsec), attempt);
  return folder + name;
}

}  // namespace

TFileWriter::TFileWriter(const std::string& fileName, size_t bufferBytes)
    : target_(ResolveLinks(fileName)), capacity_(bufferBytes) {
  if (capacity_ > 0) buffer_.reset(new char[capacity_]);
  Open();
}

TFileWriter::~TFileWriter() {
  if (fd_ >= 0) ::close(fd_);
  if (!temp_.empty()) ::unlink(temp_.c_str());
}

void TFileWriter::Open() {
  struct stat old;
  const bool exists = ::stat(target_.c_str(), &old) == 0;
  if (exists && !S_ISREG(old.st_mode)) {
    fd_ = ::open(target_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd_ < 0) Fail(errno);
    return;
  }
  // A file that may not be written is not replaced either.
  if (exists && ::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0) Fail(errno);
  for (unsigned attempt = 0;; ++attempt) {
    std::string temp = TempNameFor(target_, attempt);
    fd_ = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
      temp_ = std::move(temp);
      break;
    }
    if (errno == EEXIST && attempt < 100) continue;
    const int err = errno;
    if (exists && (err == EACCES || err == EPERM)) {
      // The folder takes no new file, but the file itself may still be writable. It is
      // not cut before Commit has reserved the space for the new content.
      fd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
      if (fd_ < 0) Fail(errno);
      rewrite_ = true;
      oldSize_ = old.st_size;
      return;
    }
    Fail(err);
  }
  if (exists) {
    // The new file takes the old one's place, so it takes its owner and mode as well;
    // an owner change that is not allowed leaves the file ours.
    if ((old.st_uid != ::geteuid() || old.st_gid != ::getegid()) &&
        ::fchown(fd_, old.st_uid, old.st_gid) != 0) {
      errno = 0;
    }
    if (::fchmod(fd_, old.st_mode & 07777) != 0) Fail(errno);
  }
}

void TFileWriter::Fail(int err) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
  throw rtl::EInOutError::FromErrno(err);
}

void TFileWriter::WriteThrough(const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd_, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
}

void TFileWriter::Drain() {
  WriteThrough(buffer_.get(), used_);
  used_ = 0;
}

void TFileWriter::Write(std::string_view bytes) {
  if (rewrite_) {
    content_.append(bytes);
    return;
  }
  if (capacity_ == 0) {
    WriteThrough(bytes.data(), bytes.size());
    return;
  }
  while (!bytes.empty()) {
    if (used_ == capacity_) Drain();
    const size_t room = capacity_ - used_;
    const size_t n = bytes.size() < room ? bytes.size() : room;
    std::memcpy(buffer_.get() + used_, bytes.data(), n);
    used_ += n;
    bytes.remove_prefix(n);
  }
}

// The blocks the new content needs are taken before a byte of the old one changes, so
// a full disk fails here with the file whole.
void TFileWriter::Rewrite() {
  if (!content_.empty()) {
    const int err = ::posix_fallocate(fd_, 0, static_cast<off_t>(content_.size()));
    if (err != 0) {
      // Some file systems keep what they could allocate, past the old end.
      [[maybe_unused]] const int cut = ::ftruncate(fd_, oldSize_);
      Fail(err);
    }
  }
  size_t done = 0;
  while (done < content_.size()) {
    const ssize_t n =
        ::pwrite(fd_, content_.data() + done, content_.size() - done, static_cast<off_t>(done));
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
    }
    done += static_cast<size_t>(n);
  }
  if (::ftruncate(fd_, static_cast<off_t>(content_.size())) != 0 || ::fsync(fd_) != 0) Fail(errno);
}

void TFileWriter::Commit() {
  if (rewrite_) Rewrite();
  if (used_ > 0) Drain();
  if (temp_.empty()) {
    // Written in place: a device or a file in a closed folder.
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) Fail(errno);
    return;
  }
  if (::fsync(fd_) != 0) Fail(errno);
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) Fail(errno);
  if (::rename(temp_.c_str(), target_.c_str()) != 0) Fail(errno);
  temp_.clear();
  // The rename itself becomes durable with the folder; some file systems cannot sync a
  // folder, and the content is already safe, so a failure here is not reported.
  const int dir = ::open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

}  // namespace ini
