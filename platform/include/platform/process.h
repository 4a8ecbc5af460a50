// Starting another program, as the libraries and screens ask of the system
// when they hand work to an outside program: waiting for it to end (the
// interface program, whose exit code counts), or only starting it (an export
// program the clerk works in while the catalogue goes on).
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

// Finds and starts `program` as run_and_wait does, and returns without
// waiting for it. Its end is collected when it comes (a handler of the child
// signal, which passes the signal on to the handler there was before), so
// that no finished program stays behind as a zombie. 1 when the program was
// started; 0 when it could not be, with last_error() as for run_and_wait
// (8 when 64 started programs are still running).
PX_EXPORT int32_t start_program(const std::string& program, const std::vector<std::string>& args);

// The host folder that holds the platform library itself (and beside it the
// other libraries and programs of the system), without a trailing '/';
// empty when it cannot be told.
PX_EXPORT std::string library_folder();

}  // namespace plat
