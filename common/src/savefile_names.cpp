// Names of the saved-list files, and the staged opening they share.
#include <cstring>
#include <unistd.h>

#include "platform/drives.h"
#include "platform/files.h"
#include "pxall/atomic_write.h"
#include "pxall/paths.h"
#include "pxall/savefile.h"
#include "savefile_internal.h"

namespace pxall {

namespace {

int name_in(int kind, const char* name, char* buf) {
    if (buf == nullptr) return -1;
    std::memset(buf, 0, kPathSize);
    std::strncpy(buf, name, kPathSize - 1);
    return get_path_name(kind, -1, buf);
}

}  // namespace

int make_save_mst_file_name(char* buf) { return name_in(kPathMaster, savefile::kMasterName, buf); }

int make_save_dat_file_name(int32_t save_no, char* buf) {
    // Only numbers that fit the four digits of the name have a file.
    if (save_no < 0 || save_no > savefile::kMaxSaveNo) return -1;
    char name[16];
    std::snprintf(name, sizeof name, "%s%04d%s", savefile::kDataPrefix, static_cast<int>(save_no),
                  savefile::kDataSuffix);
    return name_in(kPathMaster, name, buf);
}

int make_pxintf_tmp_file_name(char* buf) { return name_in(kPathMaster, savefile::kIntfTmpName, buf); }

int make_intf_tmp_file_name(char* buf) { return name_in(kPathWork, savefile::kIntfTmp2Name, buf); }

namespace saveimpl {

int open_staged(const char* win_path, bool keep, std::FILE** fp, int32_t* err) {
    *fp = nullptr;
    std::FILE* seed = nullptr;
    if (keep) {
        errno = 0;
        seed = plat::fopen(win_path, "r+b");
        if (seed == nullptr) {
            *err = errno;
            return open_code(errno);
        }
    } else if (auto host = plat::host_path(win_path)) {
        // Replacing a file one may not write is refused as opening it would be.
        if (::access(host->c_str(), F_OK) == 0 && ::access(host->c_str(), W_OK) != 0) {
            *err = errno;
            return open_code(errno);
        }
    }
    *fp = atomic_open(win_path, seed, err);
    if (seed != nullptr) std::fclose(seed);
    return *fp != nullptr ? 0 : open_code(*err);
}

int end_stream(std::FILE* fp, bool commit, int32_t* err) {
    *err = 0;
    if (fp == nullptr) return 0;
    if (atomic_is_staged(fp)) return atomic_close(fp, commit, err);
    if (std::fclose(fp) != 0) {
        *err = errno;
        return 12;
    }
    return 0;
}

}  // namespace saveimpl

}  // namespace pxall
