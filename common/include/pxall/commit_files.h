// Several files that change together or not at all (the two user part-group
// files): each new content is written and flushed into a temporary beside
// its file, a journal naming the temporaries is put in place (the commit),
// the temporaries are renamed over the files, and the journal goes last.
//
// Whoever next reads or writes the files calls settle_commit first: a
// journal left by a kill or a failed rename is finished (the renames it
// names are done), temporaries without a journal are dropped. A kill at any
// step therefore leaves the old files or the new ones, never a mix.
//
// The journal "<first file>.~jnl" is a text file, replaced as one step:
//   PXCOMMIT 1
//   <temporary name> TAB <file name>      one line per file, same folder
//   END
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/export.h"

namespace pxall {

struct CommitFile {
    const char* win_path;  // Windows-shaped; every file in one folder
    const void* data;
    size_t size;
};

// Codes: 0 done; 11 a temporary or the journal could not be made; 13
// writing, flushing or renaming failed (`err` the C error number). After a
// failure before the first rename the old files stand; after a failed rename
// past the first one the journal stays and the next settle_commit finishes
// the new files. Either way the failure is reported.
PX_EXPORT int commit_files(const CommitFile* files, int n, int32_t* err);

// Finishes or discards an interrupted commit whose first file is
// first_win_path, and removes the stale temporaries of the folder. 0 (also
// when nothing was pending); 13 when a pending rename still fails (the files
// must then not be read as a pair).
PX_EXPORT int settle_commit(const char* first_win_path, int32_t* err);

// Start-up: finishes every interrupted commit in the folder (Windows path)
// and removes the temporaries of replacements and copies whose processes no
// longer run. The number of files removed, or -1 when the folder cannot be
// read.
PX_EXPORT int sweep_stale_temporaries(const char* win_dir);

}  // namespace pxall
