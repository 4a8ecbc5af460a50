#include "pxall/errlog.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/clock.h"
#include "platform/files.h"

namespace pxall {

bool error_log_path(char* buf) {
    std::memset(buf, 0, kErrorLogPathSize);
    const char* dir = std::getenv("TMP");
    if (dir == nullptr) dir = ".\\";
    size_t dlen = std::strlen(dir);
    bool slash = dlen > 0 && (dir[dlen - 1] == '\\' || dir[dlen - 1] == '/');
    size_t total = dlen + (slash ? 0 : 1) + std::strlen(kErrorLogName);
    // A temp directory too long for the buffer gets no log rather than a cut path.
    if (total >= static_cast<size_t>(kErrorLogPathSize)) return false;
    std::snprintf(buf, kErrorLogPathSize, "%s%s%s", dir, slash ? "" : "\\", kErrorLogName);
    return true;
}

int syerr_message(const char* module, const char* function, const char* step, int32_t code, int32_t second,
                  int32_t place) {
    char path[kErrorLogPathSize];
    if (!error_log_path(path)) return 0;
    std::FILE* fp = plat::fopen(path, "a+t");
    if (fp == nullptr) return 0;
    std::tm now = plat::local_now();
    char date[16], time[16];
    std::strftime(date, sizeof date, "%m/%d/%y", &now);
    std::strftime(time, sizeof time, "%H:%M:%S", &now);
    std::fprintf(fp, "(%s %s)%s,%s,%s,(%d)(%d)(%d)\n", date, time, module ? module : "", function ? function : "",
                 step ? step : "", code, second, place);
    return std::fclose(fp);
}

int init_syerr_message() {
    char path[kErrorLogPathSize];
    if (!error_log_path(path)) return -1;
    return plat::delete_file(path) ? 0 : -1;
}

}  // namespace pxall

extern "C" int32_t VBsyerr_message(const char* module, const char* function, const char* step, int32_t code,
                                   int32_t second, int32_t place) {
    return pxall::syerr_message(module, function, step, code, second, place);
}
