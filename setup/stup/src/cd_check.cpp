// Asking for a catalogue CD and checking it against the issues of its set;
// the CD-number table of a set's first CD; pointing the root masters of an
// area's later CDs at the first CD's shared files.
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/cdrom.h"
#include "pxall/errlog.h"
#include "pxall/keyed_layout.h"
#include "pxall/texts.h"
#include "stup_internal.h"

namespace pxstup {

namespace {

namespace kl = pxall::keyed;

constexpr const char* kModule = "PXSTUP17";
constexpr int kCdNoOption = 2;

void log(const char* function, const char* step, int code, int place) {
    pxall::syerr_message(kModule, function, step, code, run().syserr, place);
}

int drive_count() {
    const unsigned char* top = pxall::get_ctop_addr();
    if (top == nullptr) return 0;
    int n = top[pxall::ctop::kDriveCount];
    return n > pxall::ctop::kMaxDrives ? pxall::ctop::kMaxDrives : n;
}

// The area work entry of a CD work entry: its area letter (frame blocks use
// the E and J entries).
AreaWork* area_of(const CdWork& w) {
    int a = area_index(w.name[0]);
    return a < 0 ? nullptr : &run().area[a];
}

// Asks for the CD of work entry k: 0 with its drive, CD id and issue.
int ask_for_cd(int k, const char* function, int* drive, char* id, char* issue) {
    const CdWork& w = run().cd[k];
    char wanted[3] = {w.name[0], w.name[1], 0};
    char code[3] = {w.code[0], w.code[1], 0};
    int detail = 0;
    int r = pxall::cdset_cd(-1, wanted, code, nullptr, drive, id, issue, kCdRequestOption, &detail);
    if (r != 0 && r != kCancelled) {
        run().syserr = detail;
        log(function, "cdset_cd", r, 1);
    }
    return r;
}

}  // namespace

int stup_cd_make_cdno_table(int k, int mode) {
    const char* fn = "stup_cd_make_cdno_table";
    int drive = -1;
    char id[2] = {}, issue[8] = {};
    int r = ask_for_cd(k, fn, &drive, id, issue);
    if (r != 0) return r;
    if (mode == 1) return 0;

    uint8_t* table = nullptr;
    int32_t count = 0;
    int detail = 0;
    char cd_id[3] = {id[0], id[1], 0};
    r = pxall::cdmake_cdno_table(drive, cd_id, nullptr, nullptr, &table, &count, kCdNoOption, &detail);
    if (r != 0) {
        if (r != kCancelled) {
            run().syserr = detail;
            log(fn, "cdmake_cdno_table", r, 2);
        }
        return r;
    }
    run().cdno.assign(table, table + static_cast<size_t>(count) * pxall::kCdNoEntrySize);
    std::free(table);

    // An "A " code takes its directory character from the table entry of
    // the same CD code.
    const CdWork& me = run().cd[k];
    AreaWork* area = area_of(me);
    int n = area == nullptr ? 0 : area->count;
    for (int i = 0; i < n; ++i) {
        CdWork& w = run().cd[i];
        if (w.name[0] != me.name[0] || w.name[1] != ' ') continue;
        for (int32_t t = 0; t < count; ++t) {
            const uint8_t* e = run().cdno.data() + t * pxall::kCdNoEntrySize;
            if (std::memcmp(e + 2, w.code, 2) == 0) {
                w.name[1] = static_cast<char>(e[1]);
                break;
            }
        }
    }
    return 0;
}

int stup_cd_check(int k, int mode) {
    const char* fn = "stup_cd_check";
    CdWork& w = run().cd[k];
    AreaWork* area = area_of(w);
    if (area != nullptr && area->first_cd) {
        int r = stup_cd_make_cdno_table(k, mode);
        if (r != 0) return r;
        area->first_cd = 0;
    }
    int count = area == nullptr ? 0 : area->count;
    for (;;) {
        int drive = -1;
        char id[2] = {}, issue[8] = {};
        int r = ask_for_cd(k, fn, &drive, id, issue);
        if (r != 0) return r;

        // The issues of a set never rise from its first CD to its last; an
        // issue that is not known (blank, "yyyymmdd") does not take part.
        const CdWork* next = k + 1 < count ? &run().cd[k + 1] : nullptr;
        const CdWork* prev = k > 0 ? &run().cd[k - 1] : nullptr;
        bool wrong = (next != nullptr && known_issue(next->issue) && std::memcmp(next->issue, issue, 8) > 0) ||
                     (prev != nullptr && known_issue(prev->issue) && std::memcmp(prev->issue, issue, 8) < 0);
        if (wrong) {
            char name[3] = {w.name[0], w.name[1], 0};
            char code[3] = {w.code[0], w.code[1], 0};
            int answer = 0;
            int b = pxall::disp_msgbox(kWrongCdMessage, drive, name, code, &answer);
            if (b != 0) {
                run().syserr = b;
                log(fn, "disp_msgbox", -1, 3);
                return -1;
            }
            if (answer == 1) return kCancelled;
            continue;
        }

        std::memcpy(w.issue, issue, 8);
        run().cd_drive = drive;
        for (int d = 0; d < drive_count(); ++d) {
            char ident[pxall::kCdIdentSize];
            int err = 0;
            if (pxall::cdread_head(d, ident, &err) != 0) continue;
            std::memcpy(run().drive_ids[d], ident + 2, 8);
            std::memcpy(run().drive_ids[d] + 8, ident, 2);
        }
        return 0;
    }
}

int stup_pxrootmf_rmak(const char (*names)[2], int count) {
    const char* fn = "stup_pxrootmf_rmak";
    if (count < 2) return 0;
    const std::string master = state_dir(pxall::ctop::kMasterDir);
    const std::string first = join(join(master, std::string(names[0], 2)), kl::kRootMaster);
    std::FILE* fp = plat::fopen(first, "rb");
    if (fp == nullptr) {
        run().syserr = errno;
        log(fn, first.c_str(), 11, 10);
        return 11;
    }
    uint8_t hdr[kl::mhdr::kSize];
    size_t got = std::fread(hdr, 1, sizeof hdr, fp);
    if (std::fclose(fp) != 0) {
        run().syserr = errno;
        log(fn, first.c_str(), 12, 11);
        return 12;
    }
    if (got != sizeof hdr) {
        run().syserr = 0;
        log(fn, first.c_str(), 14, 12);
        return 14;
    }

    for (int i = 1; i < count; ++i) {
        const std::string path = join(join(master, std::string(names[i], 2)), kl::kRootMaster);
        std::FILE* mf = plat::fopen(path, "r+b");
        if (mf == nullptr) {
            run().syserr = errno;
            log(fn, path.c_str(), 11, 13);
            return 11;
        }
        // Only the files all CDs of the area share (car names, vehicles,
        // frame numbers, abbreviations, names) move to the first data set;
        // a full copy keeps its own figure index and illustrations.
        for (int rec = 1; rec <= kl::kRootCount; ++rec) {
            long at = static_cast<long>(rec * kl::ment::kSize);
            uint8_t e[kl::ment::kSize];
            if (std::fseek(mf, at, SEEK_SET) != 0) {
                run().syserr = errno;
                std::fclose(mf);
                log(fn, path.c_str(), 15, 14);
                return 15;
            }
            if (std::fread(e, 1, sizeof e, mf) != sizeof e) break;
            const kl::FileDesc& d = kl::file_table()[kl::kRootFirst + rec - 1];
            if (e[kl::ment::kLocation] != kl::kOnDisk || d.loc_class == kl::kOnCd) continue;
            std::memcpy(e + kl::ment::kDataSet, names[0], 2);
            if (std::fseek(mf, at, SEEK_SET) != 0) {
                run().syserr = errno;
                std::fclose(mf);
                log(fn, path.c_str(), 15, 15);
                return 15;
            }
            if (!put_bytes(mf, path, e, sizeof e)) {
                run().syserr = errno;
                std::fclose(mf);
                log(fn, path.c_str(), 13, 16);
                return 13;
            }
        }
        if (std::fclose(mf) != 0) {
            run().syserr = errno;
            log(fn, path.c_str(), 12, 17);
            return 12;
        }
    }
    return 0;
}

}  // namespace pxstup
