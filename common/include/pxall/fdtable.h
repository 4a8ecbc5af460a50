// The library's table of open file descriptors. open2 records every
// descriptor it returns so that close2 and closeall2 can close it; the
// 32-bit mask of handle_flag mirrors descriptors 0-31.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/export.h"

namespace pxall {

// open(2) on a Windows-shaped path; the permission is passed only with O_CREAT
// and a non-zero permission. The descriptor, or -1.
PX_EXPORT int open2(const char* path, int flags, int permission);
// Closes a descriptor that open2 returned: 0, or the failed close's result
// (the descriptor stays recorded). An unrecorded descriptor is left open, 0.
PX_EXPORT int close2(int fd);
// Closes every recorded descriptor: 0, or -1 when a close failed.
PX_EXPORT int closeall2();
// The mask of recorded descriptors 0-31.
PX_EXPORT uint32_t* handle_flag();

}  // namespace pxall
