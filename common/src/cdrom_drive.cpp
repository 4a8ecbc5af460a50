// The CD drives: reading a CD's identity, finding the wanted CD (asking the
// clerk for it), and looking files up on a CD.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <fcntl.h>
#include <unistd.h>

#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "keyed_handle.h"
#include "pxall/blocks.h"
#include "pxall/cdrom.h"
#include "pxall/fdtable.h"
#include "pxall/fileutil.h"
#include "pxall/hinban.h"
#include "pxall/paths.h"
#include "pxall/texts.h"

namespace pxall {

namespace {

constexpr int kNotReady = 80;
constexpr int kLabelFailure = 81;
constexpr int kLabelBuffer = 64;
constexpr int kRetryPolls = 3;
constexpr int kRetryPauseMs = 200;

int drive_count() {
    const unsigned char* top = get_ctop_addr();
    if (top == nullptr) return 0;
    int n = top[ctop::kDriveCount];
    return n > ctop::kMaxDrives ? ctop::kMaxDrives : n;
}

// Characters before the first blank or control character, at most max.
int significant(const char* s, int max) {
    int n = 0;
    while (s != nullptr && n < max && static_cast<unsigned char>(s[n]) > ' ') ++n;
    return n;
}

int area_letter_now(char* letter) {
    const unsigned char* top = get_ctop_addr();
    if (top == nullptr) return -1;
    return GetAreaChar(get_i32(top + ctop::kAreaIndex), letter);
}

// The identity from a data set's root master header: id at 22, date at 0.
int root_identity(int entry, char* ident, int* detail) {
    char path[kPathSize] = "PXROOTMF.MST";
    if (get_path_name(kPathMaster, entry, path) != 0) {
        set_detail(detail, 0);
        return 11;
    }
    int fd = -1;
    int32_t err = 0;
    if (open_read(path, &fd, &err) != 0) {
        set_detail(detail, err);
        return 11;
    }
    unsigned char hdr[32];
    ssize_t n = ::pread(fd, hdr, sizeof hdr, 0);
    int e = errno;
    close2(fd);
    if (n != static_cast<ssize_t>(sizeof hdr)) {
        set_detail(detail, n < 0 ? e : 0);
        return 14;
    }
    std::memcpy(ident, hdr + 22, 2);
    std::memcpy(ident + 2, hdr, 8);
    return 0;
}

}  // namespace

int cdmsgid(int option) {
    if (option == -4 || option == -2) return 883;
    if (option == -3 || option == -1) return 882;
    return 881;
}

int cdread_head(int drive, char* ident, int* syserr) {
    if (syserr != nullptr) *syserr = 0;
    if (drive < 0 || drive >= drive_count() || ident == nullptr) return 128;
    const unsigned char* d = get_ctop_addr() + ctop::kDrives + 2 * drive;
    char root[4] = {static_cast<char>(d[0]), ':', '\\', 0};
    std::string label;
    if (!plat::volume_label(root, &label)) {
        int e = plat::last_error();
        if (syserr != nullptr) *syserr = e;
        return e == plat::kErrNotReady ? kNotReady : kLabelFailure;
    }
    char buf[kLabelBuffer] = {};
    std::memcpy(buf, label.data(), label.size() < sizeof buf - 1 ? label.size() : sizeof buf - 1);
    std::memcpy(ident, buf, kCdIdentSize);
    return 0;
}

int cdread_head_alldrive(char* table, char area_letter, int* detail) {
    set_detail(detail, 0);
    if (table == nullptr) return 128;
    std::memset(table, 0, kCdIdentTableSize * kCdIdentSize);
    int n = 0;
    for (int i = 0; i < drive_count() && n < kCdIdentTableSize; ++i) {
        int err = 0;
        int r = cdread_head(i, table + n * kCdIdentSize, &err);
        if (r != 0 && r != kNotReady) {
            set_detail(detail, err);
            return r;
        }
        ++n;  // a drive without a disc keeps an empty entry
    }
    // Full copies on disk stand for their CDs.
    char current = 0;
    if (area_letter_now(&current) != 0) return 0;
    const unsigned char* top = get_ctop_addr();
    int count = get_i32(top + ctop::kSetupCount);
    int j = 0;
    while (j < count && j < ctop::kMaxSetup && setup_entry_addr(j)[0] != static_cast<unsigned char>(current)) ++j;
    for (; j < count && j < ctop::kMaxSetup && n < kCdIdentTableSize; ++j) {
        const unsigned char* e = setup_entry_addr(j);
        if (e[0] != static_cast<unsigned char>(area_letter)) break;
        if (e[1] < '0' || e[1] > '9' || e[setup_entry::kPictureFlag] != 1) continue;
        int r = root_identity(j, table + n * kCdIdentSize, detail);
        if (r != 0) return r;
        ++n;
    }
    return 0;
}

int cdmake_cdidtbl_alldrive(int32_t* list, int32_t* count, int* detail) {
    set_detail(detail, 0);
    if (count != nullptr) *count = 0;
    if (list == nullptr || count == nullptr) return 128;
    char letter = 0;
    if (area_letter_now(&letter) != 0) return 0;
    char table[kCdIdentTableSize * kCdIdentSize];
    int r = cdread_head_alldrive(table, letter, detail);
    if (r != 0) return r;
    int n = get_i32(get_ctop_addr() + ctop::kSetupCount);
    for (int j = 0; j < n && j < ctop::kMaxSetup; ++j) {
        const unsigned char* e = setup_entry_addr(j);
        if (e[0] != static_cast<unsigned char>(letter) || e[1] < '0' || e[1] > '9') continue;
        for (int t = 0; t < kCdIdentTableSize; ++t) {
            const char* id = table + t * kCdIdentSize;
            if (id[0] == 0) continue;
            if (std::memcmp(e, id, 2) == 0 && std::memcmp(e + setup_entry::kCdDate, id + 2, 8) == 0) {
                list[(*count)++] = j;
                break;
            }
        }
    }
    return 0;
}

int cdset_cd(int drive, const char* cd_id, const char* cd_no, const char* cd_date, int* found_drive, char* found_id,
             char* found_date, int option, int* detail) {
    set_detail(detail, 0);
    int id_len = significant(cd_id, 2);
    if (id_len == 0) {
        set_detail(detail, cdd::kSetNoCdId);
        return 128;
    }
    int count = drive_count();
    if (drive < -1 || drive >= count) {
        set_detail(detail, cdd::kSetBadDrive);
        return 128;
    }
    // The date test: none, below the area's first installed data set, or equal.
    bool below = cd_date != nullptr && std::strncmp(cd_date, "********", 8) == 0;
    char ref[8] = {};
    int date_len = below ? 8 : significant(cd_date, 8);
    if (below) {
        int top = setuped_top_cdno(cd_id[0]);
        if (top < 0) {
            set_detail(detail, cdd::kSetNoDataSet);
            return 128;
        }
        std::memcpy(ref, setup_entry_addr(top) + setup_entry::kCdDate, 8);
    } else if (date_len > 0) {
        std::memcpy(ref, cd_date, date_len);
    }
    int lo = drive < 0 ? 0 : drive, hi = drive < 0 ? count : drive + 1;
    for (;;) {
        for (int d = lo; d < hi; ++d) {
            char ident[kCdIdentSize];
            int err = 0;
            if (cdread_head(d, ident, &err) != 0) continue;
            if (std::memcmp(ident, cd_id, id_len) != 0) continue;
            if (below ? std::memcmp(ident + 2, ref, 8) >= 0 : std::memcmp(ident + 2, ref, date_len) != 0) continue;
            if (found_drive != nullptr) *found_drive = d;
            if (found_id != nullptr) std::memcpy(found_id, ident, 2);
            if (found_date != nullptr) std::memcpy(found_date, ident + 2, 8);
            return 0;
        }
        int answer = 0;
        int r = disp_msgbox(cdmsgid(option), drive, cd_id, cd_no, &answer);
        if (r != 0 || answer != 2) {
            // A box that cannot be shown leaves the CD as missing as Cancel does.
            set_detail(detail, r);
            return 4;
        }
        for (int poll = 0; poll < kRetryPolls; ++poll) {
            plat::sleep_ms(kRetryPauseMs);
            bool ready = false;
            for (int d = lo; d < hi && !ready; ++d) {
                char ident[kCdIdentSize];
                int err = 0;
                ready = cdread_head(d, ident, &err) != kNotReady;
            }
            if (ready) break;
        }
    }
}

int cdfile_get(const char* name, const char* catalog, int drive, int* detail, int32_t* blocks) {
    set_detail(detail, 0);
    if (blocks == nullptr) {
        set_detail(detail, cdd::kFileNoLength);
        return 128;
    }
    *blocks = 0;
    char path[kPathSize] = {};
    if (name == nullptr) name = "";
    if (catalog != nullptr && catalog[0] != 0)
        std::snprintf(path, sizeof path, "%6.6s\\%10.10s", catalog, name);
    else
        std::snprintf(path, sizeof path, "%10.10s", name);
    if (get_path_name(kPathCdDrive, drive, path) != 0) {
        set_detail(detail, cdd::kFilePath);
        return 128;
    }
    plat::FindData fd;
    int32_t h = plat::find_first(path, &fd);
    if (h == 0) {
        int e = plat::last_error();
        set_detail(detail, e);
        return (e == plat::kErrFileNotFound || e == plat::kErrPathNotFound || e == plat::kErrNoMoreFiles) ? -1 : 128;
    }
    plat::find_close(h);
    if (fd.attributes & plat::kAttrDirectory) {
        set_detail(detail, plat::kErrFileNotFound);
        return -1;
    }
    // A name that is there but no regular file (a FIFO, a device) cannot be
    // opened; it is no missing file.
    int probe = plat::open(path, O_RDONLY, 0);
    if (probe < 0) {
        set_detail(detail, errno);
        return 11;
    }
    ::close(probe);
    uint64_t n = (fd.size + keyed::kBlockSize - 1) / keyed::kBlockSize;
    *blocks = n > 0x7fffffffu ? 0x7fffffff : static_cast<int32_t>(n);
    return 0;
}

}  // namespace pxall
