// Replacing a user file as one step: the new content goes into a temporary
// file beside it, is flushed to the disk and then renamed over the old file.
// A full disk, a failed write or a crash leaves the old file whole.
//
// A temporary file is named after its file and its process
// ("PXGRPMEI.D.~pxdrom4711-3"), a name no other program makes: before each
// replacement, the temporaries that processes no longer running (a kill, a
// power cut) left in that folder are removed, whichever file they were for;
// a running process's stay. sweep_stale_temporaries (commit_files.h) does
// the same for a folder at start-up.
//
// Codes: 0 done, 11 the temporary file could not be made, 13 writing,
// flushing or renaming failed. `err` receives the C error number (0 on
// success); the temporary file is gone whenever a call fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "platform/export.h"

namespace pxall {

// Writes n bytes as the whole new content of win_path (Windows-shaped).
PX_EXPORT int atomic_write_file(const char* win_path, const void* data, size_t n, int32_t* err);

// A staged stream: a "w+b" stream on a temporary twin of win_path, holding a
// copy of `seed` (an open stream on the old file, read from its start; null
// for an empty twin) and positioned at its start. Null on failure, with err.
// The stream must be ended with atomic_close, never fclose.
PX_EXPORT std::FILE* atomic_open(const char* win_path, std::FILE* seed, int32_t* err);
// True when fp came from atomic_open and is not yet closed.
PX_EXPORT bool atomic_is_staged(std::FILE* fp);
// Ends a staged stream. With commit, flushes and renames the twin over the
// file: 0, or 13 (a stream that met a write error is never committed: 13
// with EIO). Without commit the twin is dropped: 0.
PX_EXPORT int atomic_close(std::FILE* fp, bool commit, int32_t* err);

// Test hook: called before each step of a replacement or of a commit of
// several files (commit_files.h) with the step ("create", "write", "sync",
// "rename", "journal", "unjournal") and the host path it concerns. A non-zero
// result fails the step with that C error number; a test may also end the
// process inside the hook, which stands for a kill at that step. Null clears.
using WriteStepHook = int (*)(const char* step, const char* host_path);
PX_EXPORT void set_write_step_hook(WriteStepHook hook);

// Test hook: the next n commits (atomic_write_file or atomic_close with
// commit) fail as a full disk would, with the C error number e, after the
// twin has been written. n = 0 clears it.
PX_EXPORT void atomic_fail_next_commits(int n, int e);

}  // namespace pxall
