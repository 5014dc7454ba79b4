#include "ini/FileContent.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

}  // namespace

size_t CountLineEnds(const char* text, size_t size) {
  size_t count = 0;
  size_t i = 0;
#if defined(__SSE2__)
  // Sixteen bytes at a time: a match is -1, so subtracting counts it; byte counters are
  // summed up before they can wrap.
  const __m128i crs = _mm_set1_epi8('\r');
  const __m128i zero = _mm_setzero_si128();
  while (i + 16 <= size) {
    __m128i sums = zero;
    for (int k = 0; k < 255 && i + 16 <= size; ++k, i += 16) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
      sums = _mm_sub_epi8(sums, _mm_cmpeq_epi8(v, crs));
    }
    const __m128i total = _mm_sad_epu8(sums, zero);
    count += static_cast<size_t>(_mm_cvtsi128_si64(total)) +
             static_cast<size_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(total, total)));
  }
#endif
  for (; i < size; ++i) count += text[i] == '\r';
  return count;
}

bool ReadFileContent(const std::string& name, bool buffered, FileContent& out) {
  const int raw = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (raw < 0) {
    // A missing file, or a path through something that is not a folder, is no file.
    if (errno == ENOENT || errno == ENOTDIR) return false;
    Fail(errno);
  }
  Fd fd(raw);
  // Settings files fit the first buffer and need no size query. A file that fills it is
  // asked its size once, with room for one byte more, so that the read which finds its
  // end needs no bigger buffer; a file without a size (a pipe, /proc) or one that grows
  // doubles the buffer whenever it is full.
  size_t capacity = kIoBufferBytes;
  LargeBuffer text(capacity + 1);
  size_t size = 0;
  size_t lineEnds = 0;
  const size_t piece = buffered ? kIoBufferBytes : static_cast<size_t>(-1);
  for (;;) {
    if (size == capacity) {
      struct stat st;
      if (capacity == kIoBufferBytes && ::fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode) &&
          static_cast<size_t>(st.st_size) >= capacity) {
        capacity = static_cast<size_t>(st.st_size) + 1;
      } else {
        capacity *= 2;
      }
      LargeBuffer bigger(capacity + 1);
      std::memcpy(bigger.get(), text.get(), size);
      text = std::move(bigger);
    }
    const size_t want = capacity - size < piece ? capacity - size : piece;
    const ssize_t got = ::read(fd.get(), text.get() + size, want);
    if (got < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
    }
    if (got == 0) break;
    // Counted piece by piece, while the piece is still in the cache.
    lineEnds += CountLineEnds(text.get() + size, static_cast<size_t>(got));
    size += static_cast<size_t>(got);
  }
  out.text = std::move(text);
  out.size = size;
  out.lineEnds = lineEnds;
  return true;
}

}  // namespace ini
