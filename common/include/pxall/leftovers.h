// Start-up's clean-up after runs that ended without closing (a kill, a
// crash, a power cut).
//
// Each run marks the work and master folders of its environment as used
// for as long as it runs (a lock the system drops with the process, however
// it ends). A run that finds no other mark at start-up knows that every work
// file (WORK\*.TMP), every "in use" mark of a saved list and every data set
// a set-up run was building was left by a run that is gone, and removes or
// releases them. With another run alive these stay. Temporaries of the
// files rewritten in the program folder are removed by their process
// numbers.
//
// Saved lists are never removed here: a save or delete that was cut short
// is finished by its commit's journal (commit_files.h). A save data file
// that the master does not list is a list the master lost; it stays where it
// is (no new list takes its number) and each start-up writes one error-log
// line naming it ("PXDROM", "saved_lists", its path, 14, its number, 1). A
// master that cannot be read whole is logged the same way (its path, the
// read's code, the C error number, 2) and left as it is, with every list.
#pragma once

#include "platform/export.h"

namespace pxall {

// Called by drom_init once the environment is known.
PX_EXPORT void remove_dead_runs_leftovers();
// Drops this run's marks (drom_term).
PX_EXPORT void release_run_marks();

}  // namespace pxall
