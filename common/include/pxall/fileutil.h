// File utilities on Windows-shaped paths: opening through the descriptor
// table (fdtable.h), fixed-size records by number, copying a file, and
// deleting the files of a directory that match a pattern.
//
// These log nothing: they return a code and, where there is one, the C error
// number through `err`; the callers log.
//   0 done, 11 open failed, 13 short write, 14 short read, 15 seek failed,
//   20 out of memory, 401 no directory, 402 search path too long.
#pragma once

#include <cstdint>

#include "platform/export.h"

namespace pxall {

// Read-only, binary. 0, or 11 with the C error number in err.
PX_EXPORT int open_read(const char* path, int* fd, int32_t* err);
// Created or truncated, read-write, binary, owner read/write permission: 0 or 11.
PX_EXPORT int open_write(const char* path, int* fd, int32_t* err);
// An existing file, read-write, binary: 0 or 11.
PX_EXPORT int open_rdwr(const char* path, int* fd, int32_t* err);

// Record i of n bytes: 0, 15 when the seek to i x n fails, 14 when fewer than
// n bytes come (err 0 at end of file).
PX_EXPORT int direct_read(int fd, int32_t i, void* buf, int32_t n, int32_t* err);
// 0, 15 seek, 13 when fewer than n bytes are written.
PX_EXPORT int direct_write(int fd, int32_t i, const void* buf, int32_t n, int32_t* err);

// Copies `from` into `to`, whole or not at all: the copy is written beside
// `to` and replaces it only once complete (atomic_write.h), so a failed read,
// a full disk or a kill leaves an existing destination as it was. 0, 11, 13,
// 14 or 20.
PX_EXPORT int file_copy(const char* to, const char* from, int32_t* err);

// Deletes the files of `dir` that match `pattern` (null, or one starting with
// a blank or control character: "*.*"), at most 10000 matches; failures to
// delete are ignored. 0, 401 (no directory), 402 (search path of 80 or more).
PX_EXPORT int file_remove(const char* dir, const char* pattern);

}  // namespace pxall
