// Several files that change together or not at all (the two user part-group
// files, the price master with its data and index, a local-parts set's data
// and index): each new content is written and flushed into a temporary beside
// its file, a journal naming the temporaries is put in place (the commit),
// the temporaries are renamed over the files, the files the set drops are
// removed (only once the new files no longer name them), and the journal
// goes last.
//
// Whoever next reads or writes the files calls settle_commit first: a
// journal left by a kill or a failed rename is finished (the renames it
// names are done), temporaries without a journal are dropped. A kill at any
// step therefore leaves the old files or the new ones, never a mix.
//
// Several runs may share an installation. The run that writes a journal
// holds a lock on it until it has carried the commit out (or left it after a
// failure): no other run finishes a journal so held. A reader or a writer
// of the folder waits a few seconds for that run; a start-up sweep passes
// it by. Two runs that commit the same files at once never both put them in
// place: the journal goes in place only where none stands, and the run that
// comes second fails (13, err EBUSY), the other's files standing whole. A
// journal of the older layout names no run; it is finished when every
// temporary it names is of a process that no longer runs, or when no other
// run holds its mark on the work or master folder (leftovers.h).
//
// The journal "<first file>.~jnl" is a text file, put in place as one step:
//   PXCOMMIT 1
//   RUN <process number>                  the run that writes it (absent in
//                                         a journal of the older layout)
//   <temporary name> TAB <file name>      one line per file, same folder
//   TAB <file name>                       a file the set drops
//   END
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/export.h"

namespace pxall {

struct CommitFile {
    const char* win_path;  // Windows-shaped; every file in one folder
    const void* data;
    size_t size;
    // The file goes instead (data and size unused), after the others are in
    // place; one already gone is no failure.
    bool remove = false;
};

// Codes: 0 done; 11 a temporary or the journal could not be made; 13
// writing, flushing or renaming failed (`err` the C error number). After a
// failure before the first rename the old files stand; after a failed rename
// past the first one the journal stays and the next settle_commit finishes
// the new files. Either way the failure is reported. 16: the new files are
// in place but a file to remove could not be (`err`); the next settle tries
// once more, then leaves it.
PX_EXPORT int commit_files(const CommitFile* files, int n, int32_t* err);

// Files too large to hold in memory, built by the caller: begin() settles
// the folder and makes an empty temporary beside each file, the caller
// writes each through temporary(i), and commit() flushes them and puts them
// in place as commit_files does. Temporaries not committed (a failure, an
// early return) are removed by abandon() or the destructor; while the
// object holds them no sweep of this process takes them for leftovers.
class PX_EXPORT CommitBuild {
public:
    CommitBuild() = default;
    CommitBuild(const CommitBuild&) = delete;
    CommitBuild& operator=(const CommitBuild&) = delete;
    ~CommitBuild();
    // Windows-shaped paths, all in one folder. 0, 11 or 13 as commit_files.
    int begin(const std::vector<std::string>& win_paths, int32_t* err);
    // The Windows-shaped path of file i's temporary.
    const std::string& temporary(size_t i) const { return win_twins_.at(i); }
    // 0, 11 (nothing begun) or 13, as commit_files.
    int commit(int32_t* err);
    void abandon();

private:
    std::vector<std::pair<std::string, std::string>> pairs_;  // host (temporary, file)
    std::vector<std::string> win_twins_;
};

// Finishes or discards an interrupted commit whose first file is
// first_win_path, and removes the stale temporaries of the folder. 0 (also
// when nothing was pending); 13 when a pending rename still fails, or (err
// EBUSY) when another run is still carrying out its commit there after the
// wait (the files must then not be read as a pair). commit_files and
// CommitBuild::begin settle the folder the same way first.
PX_EXPORT int settle_commit(const char* first_win_path, int32_t* err);

// Start-up: finishes every interrupted commit in the folder (Windows path)
// and removes the temporaries of replacements and copies whose processes no
// longer run, never one that a journal not yet finished names (a journal
// that cannot be finished is logged; one that a live run is carrying out is
// its own, and left without waiting). The number of files removed, or -1
// when the folder cannot be read.
PX_EXPORT int sweep_stale_temporaries(const char* win_dir);

}  // namespace pxall
