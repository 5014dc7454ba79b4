#include "ini/FileContent.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "rtl/RuntimeErrors.h"

namespace ini {

namespace {

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

[[noreturn]] void Fail(int err) {
  throw rtl::EInOutError::FromErrno(err);
}

// Reads up to count bytes; fewer only at the end of the file.
size_t ReadSome(int fd, char* to, size_t count, size_t piece) {
  size_t done = 0;
  while (done < count) {
    const size_t want = count - done < piece ? count - done : piece;
    const ssize_t got = ::read(fd, to + done, want);
    if (got < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
    }
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  return done;
}

}  // namespace

bool ReadFileContent(const std::string& name, bool buffered, FileContent& out) {
  const int raw = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (raw < 0) {
    // A missing file, or a path through something that is not a folder, is no file.
    if (errno == ENOENT || errno == ENOTDIR) return false;
    Fail(errno);
  }
  Fd fd(raw);
  // Settings files fit the first buffer, and a regular file fills a read up to its end,
  // so a short first read is the whole file and needs no size query.
  LargeBuffer text(kIoBufferBytes + 1);
  ssize_t got;
  do {
    got = ::read(fd.get(), text.get(), kIoBufferBytes);
  } while (got < 0 && errno == EINTR);
  if (got < 0) Fail(errno);
  size_t size = static_cast<size_t>(got);
  if (size == kIoBufferBytes) {
    struct stat st;
    if (::fstat(fd.get(), &st) != 0) Fail(errno);
    const bool sized = S_ISREG(st.st_mode) && st.st_size > 0;
    const size_t piece = buffered ? kIoBufferBytes : static_cast<size_t>(-1);
    size_t capacity = sized && static_cast<size_t>(st.st_size) > size
                          ? static_cast<size_t>(st.st_size)
                          : size * 2;
    for (;;) {
      LargeBuffer bigger(capacity + 1);
      std::memcpy(bigger.get(), text.get(), size);
      text = std::move(bigger);
      size += ReadSome(fd.get(), text.get() + size, capacity - size, piece);
      // A file without a size (a pipe, /proc) or one that grew: read on to its end.
      if (size < capacity || sized) break;
      capacity *= 2;
    }
  }
  out.text = std::move(text);
  out.size = size;
  return true;
}

}  // namespace ini
