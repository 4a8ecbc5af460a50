// The marks each run of an installation holds on its work and master
// folders (leftovers.h), as the commit journals need them.
#pragma once

namespace pxall {

// True when a process other than this one holds a run mark on the work or
// master folder of the environment, or when that cannot be told.
bool other_run_alive();

}  // namespace pxall
