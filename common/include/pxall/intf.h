// Handing the current saved list to the interface program PXINTF, an
// outside program, and acting on how it ends.
//
// PXINTF is started with three arguments: its name, the host path of the
// current saved list's data file (or "@@@@@" when no list is current) and
// the host path of its work file PXINTF.TMP in the master directory. The
// paths are passed as host paths because the program lives outside the
// library's drive table. Its exit code:
//   0  nothing more to do
//   1  the list was taken over: the caller's number in bytes 96-98 of the
//      list's header becomes "000"
//   2  the list was used up: its entry leaves the save master
//   any other code counts as 0.
#pragma once

#include <cstdint>

#include "platform/export.h"

namespace pxall {

constexpr const char* kIntfProgram = "PXINTF.EXE";
constexpr const char* kIntfNoList = "@@@@@";
// Details given with a path that cannot be built.
constexpr int32_t kIntfDetailWorkFile = 36;
constexpr int32_t kIntfDetailListPath = 45;
// Messages for the screen after exit code 2.
constexpr int32_t kMsgSavedListsRemain = 999;
constexpr int32_t kMsgNoSavedListLeft = 888;

// Runs PXINTF for the current saved list and waits for it. 0; after exit
// code 1 the status of rewriting the header (a saved-list code with its
// detail); after exit code 2 the status of removing the entry, else 999 when
// saved lists remain and 888 when none does (with no current list, the
// save master's count decides); a path result with detail 36 or 45. A
// program that cannot be started is logged and counts as exit code 0.
PX_EXPORT int intf_pro(int32_t* detail);

}  // namespace pxall
