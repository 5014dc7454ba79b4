// Texts of the runtime's errors, which the default error handler shows.
#include "rtl/RuntimeErrors.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace rtl {
namespace {

TEST(RuntimeErrorsTest, InOutErrorTextsFollowTheOperatingSystemError) {
  const struct {
    int err;
    int code;
    const char* text;
  } cases[] = {
      {ENOENT, kFileNotFound, "File not found"},
      {ENOTDIR, kPathNotFound, "Path not found"},
      {EMFILE, kTooManyOpenFiles, "Too many open files"},
      {EACCES, kFileAccessDenied, "File access denied"},
      {EISDIR, kFileAccessDenied, "File access denied"},
      {EROFS, kFileAccessDenied, "File access denied"},
      {ENOSPC, kDiskFull, "Disk full"},
      {EFBIG, kDiskFull, "Disk full"},
  };
  for (const auto& c : cases) {
    const EInOutError e = EInOutError::FromErrno(c.err);
    EXPECT_EQ(e.ErrorCode(), c.code) << c.err;
    EXPECT_EQ(e.Message(), c.text) << c.err;
    EXPECT_STREQ(e.what(), c.text);
  }
}

TEST(RuntimeErrorsTest, OtherCodesNameTheirNumber) {
  EXPECT_EQ(EInOutError(kReadBeyondEnd).Message(), "Read beyond end of file");
  EXPECT_EQ(EInOutError::FromErrno(EIO).Message(), "I/O error 31")
      << "not the code of access denied";
  EXPECT_EQ(EInOutError::FromErrno(EBADF).Message(), "I/O error " + std::to_string(EBADF));
  EXPECT_EQ(EInOutError(1234).Message(), "I/O error 1234");
}

TEST(RuntimeErrorsTest, ErrorsAreCaughtAsTheirBase) {
  try {
    throw EInOutError(kDiskFull);
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Disk full");
  }
}

}  // namespace
}  // namespace rtl
