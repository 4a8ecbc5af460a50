// The listing work file pxfsav.tmp: one record per saved list of the save
// master, with the vehicle header of its save data file.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "fsav/fsav.h"
#include "fsav/save_list_layout.h"
#include "fsav_internal.h"
#include "platform/files.h"
#include "pxall/errlog.h"
#include "pxall/paths.h"
#include "pxall/savefile.h"

namespace pxfsav {

namespace {

using namespace pxall;
namespace sf = pxall::savefile;

constexpr const char* kFn = "fsav_exec_main";

int32_t errno_or_eio() { return errno != 0 ? errno : EIO; }

struct Listing {
    char path[kPathSize] = {};
    std::FILE* out = nullptr;
    int32_t listed = 0;
};

// The master's path for the log, or its bare name when the path cannot be
// built.
void master_path(char* buf) {
    if (make_save_mst_file_name(buf) != 0) std::snprintf(buf, kPathSize, "%s", sf::kMasterName);
}

// One listing record from the save number, its vehicle header and its
// master entry.
void make_record(char* rec, int32_t line, int32_t save_no, const char* hdr, const unsigned char* entry) {
    char num[16];
    std::memset(rec, ' ', listrec::kSize);
    std::snprintf(num, sizeof num, "%02d", static_cast<int>(line % 100));
    std::memcpy(rec + listrec::kLine, num, listrec::kLineSize);
    std::snprintf(num, sizeof num, "%04d", static_cast<int>(save_no));
    std::memcpy(rec + listrec::kSaveNo, num, listrec::kSaveNoSize);
    std::memcpy(rec + listrec::kVinFrame, hdr + sf::kDatVin, listrec::kVinFrameSize);
    std::memcpy(rec + listrec::kFrameModel, hdr + sf::kDatFrameModel, listrec::kFrameModelSize);
    rec[listrec::kDash] = '-';
    std::memcpy(rec + listrec::kFrameNo, hdr + sf::kDatFrameNo, listrec::kFrameNoSize);
    std::memcpy(rec + listrec::kNotes, hdr + sf::kDatNotes, listrec::kNotesSize);
    std::memcpy(rec + listrec::kDate, entry + sf::kEntDate, listrec::kDateSize);
    std::memcpy(rec + listrec::kTime, entry + sf::kEntTime, listrec::kTimeSize);
}

// The vehicle header shown for a list whose data file cannot be read: blank,
// with this in its notes, so that the clerk sees the list and can delete it.
constexpr char kNoDataNotes[] = "*** NO DATA FILE ***";

// Lists save save_no: 0, or the failing code of the listing file, logged.
// A list whose data file is gone, unreadable or no file at all is listed
// as such: one such list never hides the others.
int list_one(Listing* l, int32_t save_no, const unsigned char* entry) {
    char hdr[sf::kDatHeaderSize];
    std::FILE* fp = nullptr;
    int32_t err = 0;
    int r = open_save_dat_file(save_no, pxall::kSaveUpdateInPlace, kSaveRead, &fp, &err);
    if (r != 0) {
        syerr_message(kModList, kFn, "open_save_dat_file", r, err, r == -1 ? 2 : 3);
    } else {
        r = read_save_dat_file(fp, hdr, static_cast<int32_t>(sizeof hdr), &err);
        if (r != 0) syerr_message(kModList, kFn, "read_save_dat_file", r, err, 4);
        int32_t closed = 0;
        int c = close_save_dat_file(&fp, &closed);
        if (r == 0 && c != 0) {
            syerr_message(kModList, kFn, "close_save_dat_file", c, closed, 5);
            r = c;
        }
    }
    if (r != 0) {
        std::memset(hdr, ' ', sizeof hdr);
        std::memcpy(hdr + sf::kDatNotes, kNoDataNotes, sizeof kNoDataNotes - 1);
    }
    char rec[listrec::kSize];
    make_record(rec, ++l->listed, save_no, hdr, entry);
    errno = 0;
    if (std::fwrite(rec, 1, sizeof rec, l->out) != sizeof rec) {
        syerr_message(kModList, kFn, l->path, 13, errno_or_eio(), 6);
        return 13;
    }
    return 0;
}

// Walks the master's entries; save number k is the k-th entry.
int list_all(Listing* l) {
    std::FILE* mst = nullptr;
    int32_t err = 0;
    if (open_save_mst_file(kSaveRead, &mst, &err) != 0) {
        char mpath[kPathSize];
        master_path(mpath);
        syerr_message(kModList, kFn, mpath, 11, err, 7);
        return 11;
    }
    int r = 0;
    errno = 0;
    if (std::fseek(mst, static_cast<long>(sf::kRecordSize), SEEK_SET) != 0) {
        syerr_message(kModList, kFn, "fseek", 15, errno_or_eio(), 8);
        r = 15;
    }
    for (int32_t k = 1; r == 0 && k <= sf::kMaxSaveNo; ++k) {
        unsigned char entry[sf::kRecordSize];
        errno = 0;
        if (std::fread(entry, 1, sizeof entry, mst) != sizeof entry) {
            if (std::ferror(mst)) {
                char mpath[kPathSize];
                master_path(mpath);
                syerr_message(kModList, kFn, mpath, 14, errno_or_eio(), 9);
                r = 14;
            }
            break;  // the end of the master; a piece of an entry is none
        }
        unsigned char state = entry[sf::kEntState];
        // A deleted entry is no list, nor is a free one: no data file was
        // ever written for it.
        if (state == sf::kStateDeleted || state == sf::kStateFree) continue;
        r = list_one(l, k, entry);
    }
    int32_t ignored = 0;
    close_save_mst_file(&mst, &ignored);
    return r;
}

}  // namespace

}  // namespace pxfsav

extern "C" int16_t fsav_exec_main(VbString* path) {
    using namespace pxfsav;
    Listing l;
    std::snprintf(l.path, sizeof l.path, "%s", kListName);
    if (int r = pxall::get_path_name(pxall::kPathWork, -1, l.path); r != 0) {
        pxall::syerr_message(kModList, kFn, "get_path_name", r, 0, 1);
        return static_cast<int16_t>(r);
    }
    path_to_caller(path, l.path);

    errno = 0;
    l.out = plat::fopen(l.path, "wt");
    if (l.out == nullptr) {
        pxall::syerr_message(kModList, kFn, l.path, 11, errno_or_eio(), 10);
        return 11;
    }
    int r = list_all(&l);
    errno = 0;
    if (std::fclose(l.out) != 0 && r == 0) {
        pxall::syerr_message(kModList, kFn, l.path, 13, errno_or_eio(), 11);
        r = 13;
    }
    return static_cast<int16_t>(r);
}
