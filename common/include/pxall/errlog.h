// The error log: one text line per failure, appended to PXERROR.LOG in the
// temp directory ($TMP, or the current directory when TMP is unset).
//
//   (MM/DD/YY HH:MM:SS)module,function,step,(code)(second)(place)
//
// Each call opens, appends and closes, so every line is on disk when the
// call returns and no library keeps the log open.
#pragma once

#include <cstdint>

#include "platform/export.h"

namespace pxall {

constexpr const char* kErrorLogName = "PXERROR.LOG";
constexpr int kErrorLogPathSize = 80;

// Appends one line. Returns the result of closing the log, or 0 when the log
// could not be opened (a log that cannot be written is skipped silently).
PX_EXPORT int syerr_message(const char* module, const char* function, const char* step, int32_t code,
                            int32_t second, int32_t place);

// Deletes the log: 0, or -1 when it could not be deleted (also when missing).
PX_EXPORT int init_syerr_message();

// The log's path (Windows-shaped) in a buffer of kErrorLogPathSize bytes;
// false when the temp directory is too long to hold the name.
PX_EXPORT bool error_log_path(char* buf);

}  // namespace pxall

extern "C" {
// The program's twin of syerr_message.
PX_EXPORT int32_t VBsyerr_message(const char* module, const char* function, const char* step, int32_t code,
                                  int32_t second, int32_t place);
}
