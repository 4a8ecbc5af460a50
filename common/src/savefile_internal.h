// Pieces shared by the save master and save data file operations.
#pragma once

#include <cerrno>
#include <cstdint>
#include <cstdio>

namespace pxall::saveimpl {

// The open result of a C error number: -1 no such file, -2 access denied,
// else 11.
inline int open_code(int e) {
    if (e == ENOENT) return -1;
    if (e == EACCES || e == EPERM) return -2;
    return 11;
}

// The errno of a failed stream call, or EIO when the call left none.
inline int32_t stream_errno() { return errno != 0 ? errno : EIO; }

// Opens win_path for an update that replaces it on close: the old content is
// kept (keep) or dropped. 0 with *fp; -1, -2, 11 with err.
int open_staged(const char* win_path, bool keep, std::FILE** fp, int32_t* err);
// Closes a stream of this library: a staged one is committed (commit) or
// dropped. 0, or 13/other code from the close with err.
int end_stream(std::FILE* fp, bool commit, int32_t* err);

}  // namespace pxall::saveimpl
