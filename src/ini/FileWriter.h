#pragma once

#include <sys/types.h>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace ini {

// Writes a file's new content so that a failure never leaves it half written: the
// content goes to a fresh file in the same folder, is synced, and then renamed over the
// old file, which keeps its permissions. A symbolic link stays a link; the file it points
// to is replaced. A path that is not a regular file (a device, a pipe) is written in
// place. So is a file whose folder admits no new file, but only once the space for its
// new content has been reserved: a full disk leaves it unchanged, a crash while it is
// rewritten does not.
//
// Every failure raises rtl::EInOutError and removes the fresh file; the old one is then
// unchanged, but for a failure (other than a full disk) while it is rewritten in place.
class TFileWriter {
 public:
  // BufferBytes 0 writes every piece straight through.
  TFileWriter(const std::string& fileName, size_t bufferBytes);
  TFileWriter(const TFileWriter&) = delete;
  TFileWriter& operator=(const TFileWriter&) = delete;
  ~TFileWriter();

  void Write(std::string_view bytes);
  // Makes the new content the file's; the writer is done afterwards.
  void Commit();

 private:
  void Open();
  void Drain();
  void WriteThrough(const char* data, size_t size);
  void Rewrite();
  [[noreturn]] void Fail(int err);

  std::string target_;
  std::string temp_;
  int fd_ = -1;
  std::unique_ptr<char[]> buffer_;
  size_t capacity_;
  size_t used_ = 0;
  // A regular file rewritten in place: the content is held until Commit reserves its space.
  bool rewrite_ = false;
  off_t oldSize_ = 0;
  std::string content_;
};

}  // namespace ini
