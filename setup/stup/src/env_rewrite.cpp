// The set-up's rewrites of the environment file: after a completed set-up
// or a client set-up (the areas and frame-number blocks taken from the
// selection), and after a set-up cancelled at a CD request (the areas whose
// first data set is on disk).
#include <cstring>
#include <string>

#include "pxall/blocks.h"
#include "pxall/drom.h"
#include "pxall/errlog.h"
#include "pxall/hinban.h"
#include "pxall/keyed_layout.h"
#include "pxall/setup_scan.h"
#include "stup/env_lines.h"
#include "stup_internal.h"

namespace pxstup {

namespace {

namespace ct = pxall::ctop;
constexpr const char* kModule = "PXSTUP12";

void log(const char* function, const std::string& step, int code, int32_t err, int place) {
    pxall::syerr_message(kModule, function, step.c_str(), code, err, place);
}

unsigned char* top() { return pxall::get_ctop_addr(); }

bool has_cd(const unsigned char* block) { return !blank(static_cast<char>(block[blk::kEntries])); }

// The frame-number lines: the block's drive, unless blank, becomes the
// first character of the value and of the directory.
void frame_line(pxenv::EnvFile& f, size_t i, const unsigned char* frame) {
    bool world = f.starts(i, "FRAMEWLD");
    const unsigned char* block = frame + (world ? 0 : kBlockSize);
    char drive = static_cast<char>(block[blk::kDrive]);
    std::string& t = f.lines[i].text;
    if (blank(drive) || t.size() < 10) return;
    t[9] = drive;
    top()[world ? ct::kFrameWorldDir : ct::kFrameJapanDir] = static_cast<unsigned char>(drive);
}

// The key lines a rewrite owns that the file lacks are added, so that the
// set-up never reports success without recording it.
void add_missing(pxenv::EnvFile* f, bool seen_all, const std::string& all, bool seen_area, const std::string& area) {
    if (!seen_all) f->add(all);
    if (!seen_area) f->add(area);
}

int read_or_log(const char* function, pxenv::EnvFile* f) {
    int err = 0;
    int r = pxenv::read_env(f, &err);
    if (r != 0) log(function, r == 11 ? "fopen" : "fgets", r, err, r == 11 ? 1 : 2);
    return r;
}

int commit_or_log(const char* function, const pxenv::EnvFile& f) {
    int err = 0;
    int r = pxenv::commit_env(f, &err);
    if (r != 0) log(function, "fputs", r, err, 3);
    return r;
}

}  // namespace

int Updt_Sys_File(const unsigned char* catalog, const unsigned char* frame, int mode) {
    const char* fn = "Updt_Sys_File";
    ::drom_set_homedir();
    pxenv::backup_env();
    pxenv::EnvFile f;
    int r = read_or_log(fn, &f);
    if (r != 0) return r;

    auto block = [&](int a) { return catalog + a * kBlockSize; };
    auto taken = [&](int a) {
        return mode == 1 ? block(a)[blk::kSelected] == '1' : has_cd(block(a));
    };
    for (int a = 0; a < 4; ++a) std::memset(top() + ct::kAreaDrives + 2 * a, 0, 2);

    // The values of the key lines this rewrite owns.
    std::string all = "ECMSTALL=";
    char master_drive = 0;
    std::string area = "CRNTAREA=";
    pxall::put_i32(top() + ct::kAreaIndex, -1);
    for (int a = 0; a < 4; ++a) {
        if (!taken(a)) continue;
        char drive = static_cast<char>(block(a)[blk::kDrive]);
        if (all.size() > 9) all += ",";
        all += std::string(kAreaNames[a]) + ":" + drive;
        top()[ct::kAreaDrives + 2 * a] = static_cast<unsigned char>(drive);
        if (master_drive == 0) master_drive = drive;
        if (area.size() == 9 && has_cd(block(a))) {
            area += kAreaNames[a];
            pxall::put_i32(top() + ct::kAreaIndex, a);
        }
    }
    bool seen_all = false, seen_area = false;
    for (size_t i = 0; i < f.lines.size(); ++i) {
        if (f.starts(i, "ECMSTALL")) {
            f.replace(i, all);
            seen_all = true;
        } else if (f.starts(i, "ECMST")) {
            if (master_drive == 0) continue;
            if (f.lines[i].text.size() > 6) f.lines[i].text[6] = master_drive;
            top()[ct::kMasterDir] = static_cast<unsigned char>(master_drive);
        } else if (f.starts(i, "CRNTAREA")) {
            f.replace(i, area);
            seen_area = true;
        } else if (f.starts(i, "FRAME")) {
            frame_line(f, i, frame);
        }
    }
    add_missing(&f, seen_all, all, seen_area, area);
    r = commit_or_log(fn, f);
    pxall::setuped_cd_check();
    return r;
}

int Updt_Sys_File_F4(const unsigned char* catalog, const unsigned char* frame) {
    const char* fn = "Updt_Sys_File_F4";
    ::drom_set_homedir();
    pxenv::backup_env();

    for (int a = 0; a < 4; ++a) std::memset(top() + ct::kAreaDrives + 2 * a, 0, 2);
    char fallback = static_cast<char>(top()[ct::kWorkDir]);
    int first_area = -1;
    // Each area on its own: recorded when its first data set is on disk.
    std::string all = "ECMSTALL=";
    bool any = false;
    const std::string master = state_dir(ct::kMasterDir);
    for (int a = 0; a < 4; ++a) {
        const unsigned char* block = catalog + a * kBlockSize;
        if (!has_cd(block)) continue;
        char drive = static_cast<char>(block[blk::kDrive]);
        char name[2];
        stup_cd_dir_name(reinterpret_cast<const char*>(block + blk::kEntries), kAreaLetters[a], name);
        std::string path = join(join(on_drive(master, drive), std::string(name, 2)), pxall::keyed::kRootMaster);
        if (!plat::file_exists(path)) continue;
        if (first_area < 0) {
            first_area = a;
            fallback = drive;
        }
        if (any) all += ",";
        all += std::string(kAreaNames[a]) + ":" + drive;
        any = true;
        top()[ct::kAreaDrives + 2 * a] = static_cast<unsigned char>(drive);
    }

    pxenv::EnvFile f;
    int r = read_or_log(fn, &f);
    if (r != 0) return r;
    bool seen_all = false, seen_area = false;
    pxall::put_i32(top() + ct::kAreaIndex, first_area >= 0 ? pxall::area_id(kAreaNames[first_area]) : -1);
    for (size_t i = 0; i < f.lines.size(); ++i) {
        if (f.starts(i, "ECMSTALL=")) {
            f.replace(i, all);
            seen_all = true;
        } else if (f.starts(i, "ECMST=")) {
            if (f.lines[i].text.size() > 6) f.lines[i].text[6] = fallback;
            top()[ct::kMasterDir] = static_cast<unsigned char>(fallback);
        } else if (f.starts(i, "CRNTAREA=")) {
            if (first_area >= 0) f.replace(i, std::string("CRNTAREA=") + kAreaNames[first_area]);
            seen_area = true;
        } else if (f.starts(i, "FRAMEWLD=") || f.starts(i, "FRAMEJPN=")) {
            frame_line(f, i, frame);
        }
    }
    // An area list that is missing is added; the current area only when one is on disk.
    add_missing(&f, seen_all, all, seen_area || first_area < 0,
                first_area >= 0 ? std::string("CRNTAREA=") + kAreaNames[first_area] : std::string());
    int s = pxall::setuped_cd_check();
    if (s != 0) {
        log(fn, "setuped_cd_check", s, 0, 4);
        return s;
    }
    return commit_or_log(fn, f);
}

}  // namespace pxstup
