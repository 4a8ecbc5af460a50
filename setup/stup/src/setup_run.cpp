// The catalogue set-up run: the areas chosen in CATALOG.TMP and the
// frame-number blocks of FRAME.TMP, CD after CD; then the environment file.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/errors.h"
#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/cdrom.h"
#include "pxall/dataset_folder.h"
#include "pxall/errlog.h"
#include "pxall/keyed_layout.h"
#include "pxall/paths.h"
#include "pxall/setup_scan.h"
#include "stup/stup.h"
#include "stup_internal.h"

namespace pxstup {

namespace {

namespace kl = pxall::keyed;
namespace ct = pxall::ctop;

constexpr const char* kModule = "PXSTUP10";
constexpr const char* kRun = "stup_cd_setup";
constexpr int kFrameBlocks = 2;

void log(const char* module, const char* function, const std::string& step, int code, int place) {
    pxall::syerr_message(module, function, step.c_str(), code, run().syserr, place);
}

unsigned char* top() { return pxall::get_ctop_addr(); }

int setup_count() { return pxall::get_i32(top() + ct::kSetupCount); }

// Fills the CD work table from a status block. Entries are taken in order,
// empty ones skipped (stop_at_empty: the first empty one ends the list).
// kBadCdCode for a code without a directory.
int fill_work(const unsigned char* block, char letter, bool frame, AreaWork* area, bool stop_at_empty) {
    std::memset(run().cd, 0, sizeof run().cd);
    area->count = 0;
    area->first_cd = 0;
    for (int j = 0; j < kCdEntries; ++j) {
        const unsigned char* e = block + blk::kEntries + j * kCdEntrySize;
        if (blank(static_cast<char>(e[cde::kCode]))) {
            if (stop_at_empty) break;
            continue;
        }
        const char* code = reinterpret_cast<const char*>(e + cde::kCode);
        char c = dir_char(code, frame);
        if (c == 0) {
            run().syserr = 0;
            char step[32];
            std::snprintf(step, sizeof step, "CD code %c%c", code[0], code[1]);
            log(kModule, kRun, step, kBadCdCode, 1);
            return kBadCdCode;
        }
        CdWork& w = run().cd[area->count];
        w.name[0] = letter;
        w.name[1] = c;
        std::memcpy(w.code, code, 2);
        std::memcpy(w.issue, e + cde::kIssue, 8);
        w.state = 0;
        w.kind = static_cast<char>(e[cde::kKind]);
        if (j == 0) area->first_cd = 1;
        area->count++;
    }
    return 0;
}

// Notes the installed data sets of the letter that the choice drops, to be
// removed once the run has recorded the new state (a failed, cancelled or
// killed run leaves them as they were). Those chosen with a blank issue (to
// be installed anew) are replaced whole when their copy is complete.
void note_dropped(char letter, int count, bool frame, const std::string& base) {
    for (int i = 0; i < setup_count() && i < ct::kMaxSetup; ++i) {
        const unsigned char* e = pxall::setup_entry_addr(i);
        if (static_cast<char>(e[0]) != letter) continue;
        bool catalogue_set = is_digit(static_cast<char>(e[1]));
        if (catalogue_set == frame) continue;
        bool chosen = false;
        for (int k = 0; k < count && !chosen; ++k) chosen = std::memcmp(run().cd[k].name, e, 2) == 0;
        if (!chosen) run().dropped.push_back(join(base, std::string(reinterpret_cast<const char*>(e), 2)));
    }
}

// The dropped sets leave the list, each in one step (set aside): 0, or
// pxall::kNotRemoved (logged) when one stays listed, whole. Those set aside
// stay in run().dropped for remove_dropped.
int set_dropped_aside() {
    int r = 0;
    std::vector<std::string> aside;
    for (const std::string& dir : run().dropped) {
        if (int e = pxall::set_folder_aside(dir)) {
            run().syserr = e;
            log(kModule, kRun, dir, pxall::kNotRemoved, 17);
            r = pxall::kNotRemoved;
            continue;
        }
        aside.push_back(dir);
    }
    run().dropped = aside;
    return r;
}

// The files of the sets set aside go; one that will not go is logged, and
// the next start-up removes it.
void remove_dropped() {
    for (const std::string& dir : run().dropped) remove_aside(pxall::aside_of(dir));
    run().dropped.clear();
}

// Takes the installed issues into the work entries (those not to be
// installed anew), or makes the directory. -1 when it cannot be made.
int prepare_dir(const std::string& dir, char letter, int count) {
    if (plat::directory_exists(dir)) {
        for (int i = 0; i < setup_count() && i < ct::kMaxSetup; ++i) {
            const unsigned char* e = pxall::setup_entry_addr(i);
            if (static_cast<char>(e[0]) != letter) continue;
            for (int k = 0; k < count; ++k) {
                CdWork& w = run().cd[k];
                if (std::memcmp(w.code, e + pxall::setup_entry::kCdNo, 2) != 0) continue;
                if (!blank(w.issue[0])) std::memcpy(w.issue, e + pxall::setup_entry::kCdDate, 8);
                break;
            }
        }
        return 0;
    }
    if (!make_dirs(dir)) {
        run().syserr = plat::last_error();
        log(kModule, kRun, dir, -1, 2);
        return -1;
    }
    return 0;
}

// Whether work entry k is installed as chosen: -1 not, 0 installed, or a
// failure code. A data set whose master file is not on this drive (the
// block moved to another drive) is not installed.
int installed(int k, const std::string& base, const char* master, int top_index) {
    CdWork& w = run().cd[k];
    const std::string lang = data_lang();
    for (int i = 0; i < setup_count() && i < ct::kMaxSetup; ++i) {
        const unsigned char* e = pxall::setup_entry_addr(i);
        if (std::memcmp(e, w.name, 2) != 0 || std::memcmp(e + 2, w.code, 2) != 0 ||
            std::memcmp(e + pxall::setup_entry::kCdDate, w.issue, 8) != 0)
            continue;
        if ((e[pxall::setup_entry::kPictureFlag] == 1) != (w.kind == '1')) continue;
        const std::string path = join(join(base, std::string(w.name, 2)), master);
        if (!plat::file_exists(path)) return -1;
        std::FILE* fp = plat::fopen(path, "rb");
        if (fp == nullptr) {
            run().syserr = errno;
            log(kModule, kRun, path, 11, 3);
            return 11;
        }
        uint8_t hdr[kl::mhdr::kSize];
        size_t got = std::fread(hdr, 1, sizeof hdr, fp);
        std::fclose(fp);
        if (got != sizeof hdr) {
            run().syserr = 0;
            log(kModule, kRun, path, 14, 4);
            return 14;
        }
        if (static_cast<char>(hdr[kl::mhdr::kLangDigit]) != lang[1]) continue;
        if (k == 0) {
            if (top_index < 0 || std::memcmp(pxall::setup_entry_addr(top_index) + 2, w.code, 2) != 0) return -1;
        }
        run().cd[0].state = 2;
        w.state = 2;
        return 0;
    }
    return -1;
}

// A data set whose writing failed is removed whole (only the copy being
// built: the set in force stays); the next set-up of its CD writes it anew.
void drop_partial(const std::string& base, const CdWork& w) { drop_building(base, w.name); }

// A data set written whole takes the place of the one in force: 0 or the
// logged failure.
int put_in_place(const std::string& base, const CdWork& w, int place) {
    int r = put_set_in_place(base, w.name);
    if (r != 0) {
        drop_partial(base, w);
        log(kModule, kRun, join(base, std::string(w.name, 2)), r, place);
    }
    return r;
}

int catalogue_area(int a) {
    unsigned char* block = run().catalog + a * kBlockSize;
    const char letter = kAreaLetters[a];
    const char drive = static_cast<char>(block[blk::kDrive]);
    top()[ct::kMasterDir] = static_cast<unsigned char>(drive);
    const std::string mdir = on_drive(state_dir(ct::kMasterDir), drive);

    AreaWork& area = run().area[a];
    area.letter = letter;
    int r = fill_work(block, letter, false, &area, false);
    if (r != 0) return r;
    run().asked_count = 0;
    // The sets dropped from the choice are on the area's drive as installed.
    {
        const int ai = area_index(letter);
        const char installed_drive =
            ai < 0 ? 0 : static_cast<char>(top()[ct::kAreaDrives + 2 * static_cast<size_t>(ai)]);
        note_dropped(letter, area.count, false, on_drive(state_dir(ct::kMasterDir), installed_drive));
    }
    r = prepare_dir(mdir, letter, area.count);
    if (r != 0) return r;

    bool space_checked = false;
    for (int k = 0; k < area.count; ++k) {
        r = stup_cd_check(k, 0);
        if (r != 0) return r;
        CdWork& w = run().cd[k];
        if (blank(w.name[1])) {
            // An "A " code the CD-number table did not name: no directory.
            run().syserr = 0;
            log(kModule, kRun, std::string("CD code ") + w.code[0] + w.code[1], kBadCdCode, 13);
            return kBadCdCode;
        }
        w.state = 1;
        std::memcpy(run().asked[run().asked_count++], w.name, 2);
        r = installed(k, mdir, kl::kRootMaster, pxall::setuped_top_cdno(letter));
        if (r > 0) return r;
        if (w.state == 2) continue;
        if (!space_checked) {
            space_checked = true;
            int32_t free_mb = 0;
            r = stup_check_space(drive, &free_mb, a, area.count);
            if (r == kNoSpace) return r;
            if (r != 0) {
                log(kModule, kRun, "stup_check_space", r, 5);
                return r;
            }
        }
        r = stup_root_file(k);
        if (r != 0) drop_partial(mdir, w);
        if (r == kCancelled || r == kDiskFull) return r;
        if (r != 0) {
            log(kModule, kRun, "stup_root_file", r, 6);
            return r;
        }
        r = stup_catalog_file(k);
        if (r != 0) drop_partial(mdir, w);
        if (r == kCancelled) return r;
        if (r == 13 && run().syserr == ENOSPC) return 13;
        if (r != 0) {
            log("PXSTUP11", kRun, "stup_catalog_file", r, 7);
            return r;
        }
        r = put_in_place(mdir, w, 14);
        if (r != 0) return r;
        w.state = 2;
    }
    return stup_pxrootmf_rmak(run().asked, run().asked_count);
}

int frame_block(int b) {
    unsigned char* block = run().frame + b * kBlockSize;
    const char letter = b == 0 ? 'E' : 'J';
    const size_t fdir_at = b == 0 ? ct::kFrameWorldDir : ct::kFrameJapanDir;
    const char drive = static_cast<char>(block[blk::kDrive]);
    top()[ct::kMasterDir] = static_cast<unsigned char>(drive);
    top()[fdir_at] = static_cast<unsigned char>(drive);
    const std::string fdir = state_dir(fdir_at);

    AreaWork& area = run().area[b == 0 ? 0 : 3];
    area.letter = letter;
    int r = fill_work(block, letter, true, &area, true);
    if (r != 0) return r;
    note_dropped(letter, area.count, true, fdir);
    r = prepare_dir(fdir, letter, area.count);
    if (r != 0) return r;

    bool space_checked = false;
    for (int k = 0; k < area.count; ++k) {
        r = stup_cd_check(k, 1);
        if (r != 0) return r;
        CdWork& w = run().cd[k];
        w.state = 1;
        r = installed(k, fdir, kl::kFrameMaster, pxall::setuped_top_fcdno(letter));
        if (r > 0) return r;
        if (w.state == 2) continue;
        if (!space_checked) {
            space_checked = true;
            int32_t free_mb = 0;
            r = stup_check_space2(drive, &free_mb, 4 + b, area.count);
            if (r == kNoSpace) return r;
            if (r != 0) {
                log(kModule, kRun, "stup_check_space2", r, 8);
                return r;
            }
        }
        r = stup_rootmf_file(k, b);
        if (r != 0) drop_partial(fdir, w);
        if (r == kCancelled || r == kDiskFull) return r;
        if (r == 13 && run().syserr == ENOSPC) return 13;
        if (r != 0) {
            log(kModule, kRun, "stup_rootmf_file", r, 9);
            return r;
        }
        r = put_in_place(fdir, w, 15);
        if (r != 0) return r;
        w.state = 2;
    }
    return 0;
}

// Reads CATALOG.TMP and FRAME.TMP whole: 0, 11 or 14 (logged).
int read_selection(const char* function) {
    struct File {
        const char* name;
        unsigned char* into;
        size_t size;
    } files[] = {{"CATALOG.TMP", run().catalog, kCatalogImage}, {"FRAME.TMP", run().frame, kFrameImage}};
    for (const File& f : files) {
        char path[pxall::kPathSize] = {};
        std::snprintf(path, sizeof path, "%s", f.name);
        pxall::get_path_name(pxall::kPathWork, -1, path);
        std::FILE* fp = plat::fopen(path, "rb");
        if (fp == nullptr) {
            run().syserr = errno;
            log(kModule, function, path, 11, 10);
            return 11;
        }
        size_t got = std::fread(f.into, 1, f.size, fp);
        std::fclose(fp);
        if (got != f.size) {
            run().syserr = 0;
            log(kModule, function, path, 14, 11);
            return 14;
        }
    }
    return 0;
}

}  // namespace

int stup_cd_setup() {
    for (int a = 0; a < 4; ++a) {
        if (run().catalog[a * kBlockSize + blk::kSelected] != '1') continue;
        int r = catalogue_area(a);
        if (r != 0) return r;
    }
    unsigned char saved[ct::kDirSize];
    std::memcpy(saved, top() + ct::kMasterDir, ct::kDirSize);
    for (int b = 0; b < kFrameBlocks; ++b) {
        if (run().frame[b * kBlockSize + blk::kSelected] != '1') continue;
        int r = frame_block(b);
        if (r != 0) {
            std::memcpy(top() + ct::kMasterDir, saved, ct::kDirSize);
            return r;
        }
    }
    std::memcpy(top() + ct::kMasterDir, saved, ct::kDirSize);
    return 0;
}

}  // namespace pxstup

using namespace pxstup;

int32_t stup_main_proc() {
    if (pxall::get_ctop_addr() == nullptr) return -1;
    int r = read_selection("stup_main_proc");
    if (r != 0) return r;
    const std::string cwd = plat::current_directory();
    // A run that fails leaves the directories of the running program as the
    // environment file still records them.
    unsigned char saved[3][ct::kDirSize];
    const size_t dirs[3] = {ct::kMasterDir, ct::kFrameWorldDir, ct::kFrameJapanDir};
    for (int i = 0; i < 3; ++i) std::memcpy(saved[i], top() + dirs[i], ct::kDirSize);

    run().dropped.clear();
    run().unremoved = false;
    r = stup_cd_setup();
    if (r == 0) {
        plat::set_current_directory(cwd);
        // Every chosen set is in place: the dropped ones leave the list
        // before the rewrite lists what is there; their files go after.
        int aside = set_dropped_aside();
        int u = Updt_Sys_File(run().catalog, run().frame, 0);
        remove_dropped();
        if (u != 0) return u;
        return aside != 0 || run().unremoved ? pxall::kNotRemoved : 0;
    }
    run().dropped.clear();
    if (r == kCancelled) {
        plat::set_current_directory(cwd);
        int u = Updt_Sys_File_F4(run().catalog, run().frame);
        return u != 0 ? u : kCancelled;
    }
    for (int i = 0; i < 3; ++i) std::memcpy(top() + dirs[i], saved[i], ct::kDirSize);
    plat::set_current_directory(cwd);
    return r;
}

int32_t stup_set_client() {
    if (pxall::get_ctop_addr() == nullptr) return -1;
    int r = read_selection("stup_set_client");
    if (r != 0) return r;
    r = Updt_Sys_File(run().catalog, run().frame, 1);
    if (r != 0) {
        run().syserr = 0;
        log(kModule, "stup_set_client", "Updt_Sys_File", r, 12);
    }
    return r;
}
