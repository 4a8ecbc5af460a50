#include "platform/errors.h"

#include <cerrno>

namespace plat {

namespace {
// One thread runs the system, so one slot serves as the thread's last error.
int32_t g_last_error = kErrNone;
}  // namespace

int32_t last_error() { return g_last_error; }

void set_last_error(int32_t code) { g_last_error = code; }

int32_t win_error_from_errno(int err) {
    switch (err) {
        case 0:
            return kErrNone;
        case ENOENT:
            return kErrFileNotFound;
        case ENOTDIR:
        case ELOOP:
            return kErrPathNotFound;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case ETXTBSY:
        case EXDEV:
            return kErrAccessDenied;
        case EBUSY:
            return kErrSharingViolation;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return kErrDiskFull;
        case EEXIST:
            return kErrFileExists;
        case ENOTEMPTY:
            return kErrDirNotEmpty;
        case EMFILE:
        case ENFILE:
            return kErrTooManyOpenFiles;
        case ENOMEM:
            return kErrNotEnoughMemory;
        case EBADF:
            return kErrInvalidHandle;
        case EINVAL:
            return kErrInvalidParameter;
        case ENAMETOOLONG:
            return kErrInvalidName;
        case ENODEV:
        case ENXIO:
        case ENOMEDIUM:
            return kErrNotReady;
        case EIO:
            return kErrReadFault;
        default:
            return kErrAccessDenied;
    }
}

}  // namespace plat
