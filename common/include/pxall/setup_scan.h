// The scan of installed data sets: rebuilds the set-up table of the shared
// state block from the data-set directories that exist on disk.
#pragma once

#include "platform/export.h"

namespace pxall {

// 0, or 12 (a listing failed), 11 (a root master file would not open) or
// 14 (its header would not read); entries filled before a failure stay.
PX_EXPORT int setuped_cd_check();

// A set-up run builds each data set under "$<name>" beside the data sets
// (no scan takes that for one) and puts it in place when it is whole; a set
// it drops or replaces goes under that name before its files are removed
// (dataset_folder.h).
constexpr char kBuildingMark = '$';

// The result of a set-up whose data sets are in place but one that it
// dropped or replaced could not be removed (it is no longer listed).
constexpr int kNotRemoved = 16;

// Start-up, with no other run alive: removes the data sets that killed
// set-up runs were building or had set aside, in the master directory on
// every area's drive and in the frame-number directories. One that will not
// go is logged (and tried again at the next start-up).
PX_EXPORT void remove_building_leftovers();

}  // namespace pxall
