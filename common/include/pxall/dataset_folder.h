// A data set's folder as the set-up changes it. A set is built whole under
// "$<name>" beside the sets in force, its files and folder are flushed to
// the disk, and it changes places with the set in force in one step. A set
// that is dropped or replaced leaves its name in one step (it goes under
// "$<name>") before any of its files is removed. No scan lists a "$" folder
// (setup_scan.h), so a kill, a power cut or a failure at any step leaves the
// old set or the new one listed, whole; a set aside that could not be
// removed is removed by the next start-up with no other run alive.
//
// Paths are Windows-shaped, the set's own folder ("C:\MST\E1"). Each step
// passes the write-step hook (atomic_write.h): "sync" for each file and the
// folder flushed, "rename" for the set whose name changes hands, "remove"
// for each file and the folder removed. Results are C error numbers, 0 done.
#pragma once

#include <string>

#include "platform/export.h"

namespace pxall {

// "$<name>" beside the set's folder: where it is built, and where a set that
// leaves the list goes.
PX_EXPORT std::string aside_of(const std::string& win_dir);

// True for a folder name only the set-up makes beside the data sets: "$"
// and a data set's two characters, or that and "~" (a set in force set
// aside where the file system cannot exchange two folders).
PX_EXPORT bool is_aside_name(const std::string& name);

// Every file of the folder and the folder itself reach the disk.
PX_EXPORT int flush_folder(const std::string& win_dir);

// The set built under aside_of(win_dir) is flushed (flush_folder) and takes
// the place of win_dir in one step. The set that was in force is then
// unlisted, under *old_at (empty when there was none), for remove_folder.
// A failure before that step leaves the set in force as it was.
PX_EXPORT int put_folder_in_place(const std::string& win_dir, std::string* old_at);

// The set leaves the list in one step: win_dir goes under aside_of(win_dir)
// (a leftover there is removed first). 0 also when there is no such set.
PX_EXPORT int set_folder_aside(const std::string& win_dir);

// Removes a folder set aside: its files, then the folder. Every file is
// tried; the first failure is the result, with the path that failed in
// *failed. A folder already gone is no failure.
PX_EXPORT int remove_folder(const std::string& win_dir, std::string* failed);

}  // namespace pxall
