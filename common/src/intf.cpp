#include "pxall/intf.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "platform/errors.h"
#include "platform/process.h"
#include "pxall/blocks.h"
#include "pxall/errlog.h"
#include "pxall/paths.h"
#include "pxall/savefile.h"

namespace pxall {

namespace {

constexpr const char* kModule = "PXSUBI01";
constexpr const char* kFunction = "intf_pro";
constexpr const char* kResetNumber = "000";

// The host form of a library path, for a program outside the drive table;
// the path itself when it has none.
std::string for_outside(const char* win_path) {
    auto host = plat::host_path(win_path);
    return host ? *host : std::string(win_path);
}

// Exit code 1: the caller's number in the open list's header becomes "000".
int reset_caller_number(int32_t* detail) {
    std::FILE* fp = current_save_dat_file();
    if (fp == nullptr || check_save_dat_file_handle() != 0) {
        // The current number without its stream: nothing to seek in.
        *detail = EBADF;
        return 15;
    }
    char header[savefile::kDatHeaderSize];
    int rc = seek_save_dat_file(fp, 0, nullptr, detail);
    if (rc == 0) rc = read_save_dat_file(fp, header, sizeof header, detail);
    if (rc != 0) return rc;
    std::memcpy(header + savefile::kDatNumber, kResetNumber, savefile::kDatNumberSize);
    rc = seek_save_dat_file(fp, 0, nullptr, detail);
    if (rc == 0) rc = write_save_dat_file(fp, header, sizeof header, detail);
    return rc;
}

}  // namespace

int intf_pro(int32_t* detail) {
    int32_t dummy = 0;
    if (detail == nullptr) detail = &dummy;
    *detail = 0;

    char work_file[kPathSize] = {};
    int rc = make_pxintf_tmp_file_name(work_file);
    if (rc != 0) {
        *detail = kIntfDetailWorkFile;
        return rc;
    }
    const unsigned char* top = get_ctop_addr();
    int32_t save_no = top != nullptr ? get_i32(top + ctop::kCurrentSaveNo) : 0;
    std::string list = kIntfNoList;
    if (save_no != 0) {
        char path[kPathSize] = {};
        rc = make_save_dat_file_name(save_no, path);
        if (rc != 0) {
            *detail = kIntfDetailListPath;
            return rc;
        }
        list = for_outside(path);
    }

    const std::vector<std::string> args = {kIntfProgram, list, for_outside(work_file)};
    int32_t exit_code = 0;
    if (!plat::run_and_wait(kIntfProgram, args, &exit_code)) {
        // Counts as a run that asked for nothing, but must not pass unseen.
        syerr_message(kModule, kFunction, kIntfProgram, 0, plat::last_error(), 1);
        return 0;
    }

    switch (exit_code) {
        case 1:
            return save_no != 0 ? reset_caller_number(detail) : 0;
        case 2: {
            int32_t count = 0;
            if (save_no != 0) {
                rc = deldata_save_mst_file(save_no, &count, detail);
                if (rc != 0) return rc;
            } else {
                // No list of ours was used up; the master still tells whether any remain.
                int32_t err = 0;
                if (check_save_mst_file_exist(&count, &err) != 0) count = 0;
            }
            return count > 0 ? kMsgSavedListsRemain : kMsgNoSavedListLeft;
        }
        default:
            return 0;
    }
}

}  // namespace pxall
