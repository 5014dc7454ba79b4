#include "rtl/RuntimeErrors.h"

#include <cerrno>

namespace rtl {

EInOutError::EInOutError(int errorCode) : Exception(TextFor(errorCode)), errorCode_(errorCode) {}

std::string EInOutError::TextFor(int errorCode) {
  switch (errorCode) {
    case kFileNotFound:
      return "File not found";
    case kPathNotFound:
      return "Path not found";
    case kTooManyOpenFiles:
      return "Too many open files";
    case kFileAccessDenied:
      return "File access denied";
    case kReadBeyondEnd:
      return "Read beyond end of file";
    case kDiskFull:
      return "Disk full";
    default:
      return "I/O error " + std::to_string(errorCode);
  }
}

EInOutError EInOutError::FromErrno(int err) {
  switch (err) {
    case ENOENT:
      return EInOutError(kFileNotFound);
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return EInOutError(kPathNotFound);
    case EMFILE:
    case ENFILE:
      return EInOutError(kTooManyOpenFiles);
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
      return EInOutError(kFileAccessDenied);
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return EInOutError(kDiskFull);
    // errno 5 would otherwise read as "File access denied"; 31 is the general failure
    // of a device, as the runtime reports a failed read or write.
    case EIO:
      return EInOutError(31);
    default:
      return EInOutError(err);
  }
}

}  // namespace rtl
