// The saved-list screen's operations on one list: deleting it, checking and
// marking its master entry, and the current save number.
#include <cerrno>
#include <cstdio>

#include "fsav/fsav.h"
#include "fsav_internal.h"
#include "pxall/atomic_write.h"
#include "pxall/blocks.h"
#include "pxall/errlog.h"
#include "pxall/paths.h"
#include "pxall/savefile.h"

namespace pxfsav {

namespace {

using namespace pxall;
namespace sf = pxall::savefile;

constexpr const char* kFnDelete = "fsav_svfile_delete";
constexpr const char* kFnCheck = "fsav_check_saveFileflag";
constexpr const char* kFnReset = "fsav_reset_mstflag";

void log_master(const char* fn, int code, int32_t err, int place) {
    char path[kPathSize];
    if (make_save_mst_file_name(path) != 0) std::snprintf(path, sizeof path, "%s", sf::kMasterName);
    syerr_message(kModList, fn, path, code, err, place);
}

// Ends a master stream: a staged one (opened for update) is committed only
// when asked.
int end_master(std::FILE** fp, bool commit, int32_t* err) {
    if (*fp == nullptr) return 0;
    if (commit) return close_save_mst_file(fp, err);
    int r = atomic_is_staged(*fp) ? atomic_close(*fp, false, err) : close_save_mst_file(fp, err);
    *fp = nullptr;
    return r;
}

// True when the master lists the entry (used or in use).
bool entry_listed(int16_t save_no) {
    namespace sf = pxall::savefile;
    if (save_no < 1 || save_no > sf::kMaxSaveNo) return false;
    std::FILE* fp = nullptr;
    int32_t err = 0;
    if (pxall::open_save_mst_file(pxall::kSaveRead, &fp, &err) != 0) return false;
    unsigned char state = sf::kStateFree;
    bool read = std::fseek(fp, static_cast<long>(sf::entry_offset(save_no)), SEEK_SET) == 0 &&
                std::fread(&state, 1, 1, fp) == 1;
    pxall::close_save_mst_file(&fp, &err);
    return read && (state == sf::kStateUsed || state == sf::kStateInUse);
}

}  // namespace

}  // namespace pxfsav

extern "C" int16_t fsav_svfile_delete(int16_t save_no) {
    using namespace pxfsav;
    // The entry and the file go as one commit, the file only once the new
    // master no longer names it; an entry whose file is already gone is
    // cleared all the same instead of staying for ever.
    const bool listed = entry_listed(save_no);
    int32_t err = 0, file = 0;
    int r = pxall::delete_saved_list(save_no, nullptr, &file, &err);
    if (r != 0) {
        pxall::syerr_message(kModList, kFnDelete, "deldata_save_mst_file", r, err, 2);
        return static_cast<int16_t>(r);
    }
    if (file == -1) return listed ? 0 : kMsgNoFile;
    if (file != 0) {
        pxall::syerr_message(kModList, kFnDelete, "del_save_dat_file", file, err, 1);
        return static_cast<int16_t>(file);
    }
    return 0;
}

extern "C" int16_t fsav_clear_SelSaveflno() {
    if (unsigned char* top = pxall::get_ctop_addr()) pxall::put_i32(top + pxall::ctop::kCurrentSaveNo, 0);
    return 0;
}

extern "C" int16_t fsav_check_saveFileflag(int16_t save_no, int16_t mark) {
    using namespace pxfsav;
    namespace sf = pxall::savefile;
    // Record 0 is the header and no entry lies beyond 9999: such a number
    // reads as an entry the master does not hold.
    if (save_no < 1 || save_no > sf::kMaxSaveNo) return 14;
    std::FILE* fp = nullptr;
    int32_t err = 0;
    if (pxall::open_save_mst_file(mark != 0 ? pxall::kSaveUpdate : pxall::kSaveRead, &fp, &err) != 0) {
        log_master(kFnCheck, 11, err, 3);
        return 11;
    }
    const long at = static_cast<long>(sf::entry_offset(save_no));
    unsigned char entry[sf::kRecordSize];
    int32_t ignored = 0;
    errno = 0;
    if (std::fseek(fp, at, SEEK_SET) != 0) {
        pxall::syerr_message(kModList, kFnCheck, "fseek", 15, errno != 0 ? errno : EIO, 4);
        end_master(&fp, false, &ignored);
        return 15;
    }
    if (std::fread(entry, 1, sizeof entry, fp) != sizeof entry) {
        end_master(&fp, false, &ignored);
        return 14;
    }
    unsigned char state = entry[sf::kEntState];
    if (state == sf::kStateDeleted || state == sf::kStateInUse || mark == 0) {
        end_master(&fp, false, &ignored);
        if (state == sf::kStateDeleted) return kMsgNoFile;
        if (state == sf::kStateInUse) return mark != 0 ? kMsgInUseMark : kMsgInUse;
        return 0;
    }
    // Only the state byte changes; the update is staged and put in place
    // when the master is closed.
    const unsigned char in_use = sf::kStateInUse;
    errno = 0;
    if (std::fseek(fp, at, SEEK_SET) != 0) {
        pxall::syerr_message(kModList, kFnCheck, "fseek", 15, errno != 0 ? errno : EIO, 5);
        end_master(&fp, false, &ignored);
        return 15;
    }
    if (std::fwrite(&in_use, 1, 1, fp) != 1 || std::fflush(fp) != 0) {
        log_master(kFnCheck, 13, errno != 0 ? errno : EIO, 6);
        end_master(&fp, false, &ignored);
        return 13;
    }
    if (end_master(&fp, true, &err) != 0) {
        log_master(kFnCheck, 13, err, 7);
        return 13;
    }
    return 0;
}

extern "C" int16_t fsav_reset_mstflag() {
    using namespace pxfsav;
    int32_t err = 0;
    int r = pxall::reset_save_mst_flag(&err);
    if (r != 0) pxall::syerr_message(kModList, kFnReset, "reset_save_mst_flg", r, err, 8);
    return static_cast<int16_t>(r);
}
