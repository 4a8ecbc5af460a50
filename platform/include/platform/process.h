// Starting another program and waiting for it to end, as the libraries ask
// of the system when they hand work to an outside program.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/export.h"

namespace plat {

// Finds `program` and runs it with `args` as its whole argument vector
// (args[0] is the name the program sees for itself), waits for it to end and
// gives its exit code. A program that dies of a signal gives 128 + the signal
// number.
//
// A bare name is looked for in the current directory, then in the folder of
// the system's own libraries (where the stand-in programs are built), then in
// each folder of PATH; names match without regard to case, and a name ending
// in ".EXE" also finds the plain file without that suffix ("PXINTF.EXE" runs
// PXINTF). A name with a folder in it (Windows-shaped or host) is taken as it
// stands, with the same suffix rule.
//
// 1 when the program ran; 0 when it could not be started, with last_error()
// 2 (not found) or the mapped failure of the start.
PX_EXPORT int32_t run_and_wait(const std::string& program, const std::vector<std::string>& args,
                               int32_t* exit_code);

// The host folder that holds the platform library itself (and beside it the
// other libraries and programs of the system), without a trailing '/';
// empty when it cannot be told.
PX_EXPORT std::string library_folder();

}  // namespace plat
