// The Windows error numbers the libraries expect from the platform services.
// POSIX failures are mapped onto these by the platform, never passed raw.
#pragma once

#include <cstdint>

#include "platform/export.h"

namespace plat {

enum WinError : int32_t {
    kErrNone = 0,
    kErrFileNotFound = 2,
    kErrPathNotFound = 3,
    kErrTooManyOpenFiles = 4,
    kErrAccessDenied = 5,
    kErrInvalidHandle = 6,
    kErrNotEnoughMemory = 8,
    kErrInvalidDrive = 15,
    kErrNoMoreFiles = 18,
    kErrNotReady = 21,
    kErrWriteFault = 29,
    kErrReadFault = 30,
    kErrSharingViolation = 32,
    kErrDiskFull = 112,
    kErrFileExists = 80,
    kErrInvalidParameter = 87,
    kErrInvalidName = 123,
    kErrDirNotEmpty = 145,
    kErrAlreadyExists = 183,
};

// The error number of the last failed platform call (like GetLastError).
PX_EXPORT int32_t last_error();
PX_EXPORT void set_last_error(int32_t code);

// Maps a POSIX errno value onto the nearest Windows error number.
PX_EXPORT int32_t win_error_from_errno(int err);

}  // namespace plat
