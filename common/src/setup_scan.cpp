#include "pxall/setup_scan.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/dataset_folder.h"
#include "pxall/errlog.h"
#include "pxall/fileutil.h"
#include "pxall/paths.h"

namespace pxall {

namespace {

constexpr const char* kModule = "PXSUBS01";
constexpr const char* kFunction = "setuped_cd_check";
constexpr char kAreaLetters[] = "EGUJ";
constexpr int kAreaE = 0;
constexpr int kAreaJ = 3;
constexpr size_t kHeaderSize = 32;

// Root master header bytes the set-up entry takes.
constexpr size_t kHdrCdDate = 0;
constexpr size_t kHdrCdNo = 24;
constexpr size_t kHdrLanguage = 26;

// Log places.
constexpr int kPlaceListing = 1;
constexpr int kPlaceOpen = 2;
constexpr int kPlaceRead = 3;
constexpr int kPlaceNoArea = 4;
constexpr int kPlaceLeftover = 5;

struct DataSet {
    char name[2];
    int area;    // 0-3, the position of name[0] in "EGUJ"
    bool frame;  // frame-number data set rather than catalogue data set
};

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_alnum(char c) { return is_digit(c) || (upper(c) >= 'A' && upper(c) <= 'Z'); }

// Area order E, G, U, J, then the two characters of the name.
bool dataset_before(const DataSet& a, const DataSet& b) {
    if (a.area != b.area) return a.area < b.area;
    return std::memcmp(a.name, b.name, 2) < 0;
}

// The area's master drive letter, or 0 for the master directory's own drive.
char area_drive(const unsigned char* top, int area) {
    char c = static_cast<char>(top[ctop::kAreaDrives + 2 * static_cast<size_t>(area)]);
    return static_cast<unsigned char>(c) > 0x20 ? c : 0;
}

// A master-directory path moved onto another drive: the letter replaced, or
// "X:\" put before a path that names no drive. False when it would not fit.
bool on_drive(char drive, char* path) {
    if (drive == 0) return true;
    if (path[0] != 0 && path[1] == ':') {
        path[0] = drive;
        return true;
    }
    std::string moved = std::string(1, drive) + ":\\" + (path[0] == '\\' ? path + 1 : path);
    if (moved.size() >= static_cast<size_t>(kPathSize)) return false;
    std::memset(path, 0, kPathSize);
    std::memcpy(path, moved.data(), moved.size());
    return true;
}

// The full path of `name` (file or "XX\file") under a directory kind, on the
// given drive for the master directory. False when it does not fit.
bool dataset_path(int kind, char drive, const std::string& name, char* path) {
    std::memset(path, 0, kPathSize);
    if (name.size() >= static_cast<size_t>(kPathSize)) return false;
    std::memcpy(path, name.data(), name.size());
    if (get_path_name(kind, -1, path) != 0) return false;
    return kind != kPathMaster || on_drive(drive, path);
}

std::string in_dataset(const DataSet& ds, const char* file) {
    return std::string(ds.name, 2) + "\\" + file;
}

bool dataset_file_exists(int kind, char drive, const DataSet& ds, const char* file) {
    char path[kPathSize];
    return dataset_path(kind, drive, in_dataset(ds, file), path) && plat::file_exists(path);
}

// Takes the plain directories of one listing that are data sets of `area`:
// the area letter, then a digit (catalogue) or a letter or digit (frame).
// False (logged) when the listing ends with an error other than "no more
// files"; a listing that matches nothing at all is empty, not an error.
bool list_datasets(int kind, char drive, int area, bool frame, std::vector<DataSet>* sets) {
    char search[kPathSize];
    if (!dataset_path(kind, drive, "*.", search)) {
        syerr_message(kModule, kFunction, "*.", 12, 0, kPlaceListing);
        return false;
    }
    plat::FindData found;
    int32_t h = plat::find_first(search, &found);
    if (h == 0) {
        int32_t e = plat::last_error();
        if (e == plat::kErrFileNotFound || e == plat::kErrNoMoreFiles) return true;
        syerr_message(kModule, kFunction, search, 12, e, kPlaceListing);
        return false;
    }
    char letter = kAreaLetters[area];
    do {
        const std::string& n = found.name;
        if (found.attributes != plat::kAttrDirectory || n.size() < 2 || upper(n[0]) != letter) continue;
        if (frame ? !is_alnum(n[1]) : !is_digit(n[1])) continue;
        if (sets->size() >= static_cast<size_t>(ctop::kMaxSetup)) continue;
        sets->push_back(DataSet{{letter, upper(n[1])}, area, frame});
    } while (plat::find_next(h, &found));
    int32_t e = plat::last_error();
    plat::find_close(h);
    if (e != plat::kErrNoMoreFiles) {
        syerr_message(kModule, kFunction, search, 12, e, kPlaceListing);
        return false;
    }
    return true;
}

bool has_directory(const unsigned char* top, size_t at) { return top[at] != 0; }

// Removes the folders a set-up run was building or had set aside in one
// data-set directory, with their files; one that will not go is logged and
// tried again at the next start-up.
void remove_building_dirs(int kind, char drive) {
    char search[kPathSize];
    if (!dataset_path(kind, drive, std::string(1, kBuildingMark) + "*", search)) return;
    std::vector<std::string> found_dirs;
    plat::FindData found;
    int32_t h = plat::find_first(search, &found);
    if (h == 0) return;
    do {
        if (found.attributes == plat::kAttrDirectory && is_aside_name(found.name)) found_dirs.push_back(found.name);
    } while (plat::find_next(h, &found));
    plat::find_close(h);
    for (const std::string& name : found_dirs) {
        char dir[kPathSize];
        if (!dataset_path(kind, drive, name, dir)) continue;
        std::string failed;
        if (int e = remove_folder(dir, &failed))
            syerr_message(kModule, "remove_building_leftovers", failed.c_str(), kNotRemoved, e, kPlaceLeftover);
    }
}

// Count and set-up flag for the entries filled so far.
void finish(unsigned char* top, int filled, int catalogue_sets) {
    put_i32(top + ctop::kSetupCount, filled);
    bool known_area = get_i32(top + ctop::kAreaIndex) != -1;
    top[ctop::kSetupFlag] = (catalogue_sets > 0 && known_area) ? 1 : 0;
}

}  // namespace

int setuped_cd_check() {
    unsigned char* top = get_ctop_addr();
    if (top == nullptr) {
        syerr_message(kModule, kFunction, "get_ctop_addr", 12, 0, kPlaceNoArea);
        return 12;
    }

    std::vector<DataSet> sets;
    for (int area = 0; area < 4; ++area)
        if (!list_datasets(kPathMaster, area_drive(top, area), area, false, &sets)) return 12;
    // A frame-number directory that is not configured holds no data sets (an
    // empty directory would otherwise list the current directory).
    if (has_directory(top, ctop::kFrameWorldDir) && !list_datasets(kPathFrameWorld, 0, kAreaE, true, &sets))
        return 12;
    if (has_directory(top, ctop::kFrameJapanDir) && !list_datasets(kPathFrameJapan, 0, kAreaJ, true, &sets))
        return 12;

    std::stable_sort(sets.begin(), sets.end(), dataset_before);
    std::memset(top + ctop::kSetupTable, 0, ctop::kSetupEntrySize * ctop::kMaxSetup);

    int filled = 0;
    int catalogue_sets = 0;
    bool first_checked[4] = {};
    bool dropped[4] = {};
    for (const DataSet& ds : sets) {
        if (dropped[ds.area]) continue;
        int kind;
        char drive = 0;
        const char* root;
        bool picture;
        if (!ds.frame) {
            kind = kPathMaster;
            drive = area_drive(top, ds.area);
            picture = dataset_file_exists(kind, drive, ds, "IMAGEF.DAT");
            // An area whose first data set has no car names is not installed.
            if (!first_checked[ds.area]) {
                first_checked[ds.area] = true;
                if (!dataset_file_exists(kind, drive, ds, "SHAMEI.DAT")) {
                    dropped[ds.area] = true;
                    continue;
                }
            }
            root = "PXROOTMF.MST";
        } else {
            kind = ds.area == kAreaJ ? kPathFrameJapan : kPathFrameWorld;
            picture = dataset_file_exists(kind, 0, ds, "FRKATA.DAT");
            root = "PXFRNOMF.MST";
        }

        char path[kPathSize];
        std::string name = in_dataset(ds, root);
        bool fits = dataset_path(kind, drive, name, path);
        std::FILE* fp = fits ? plat::fopen(path, "rb") : nullptr;
        if (fp == nullptr) {
            syerr_message(kModule, kFunction, fits ? path : name.c_str(), 11, fits ? errno : ENAMETOOLONG,
                          kPlaceOpen);
            finish(top, filled, catalogue_sets);
            return 11;
        }
        unsigned char hdr[kHeaderSize];
        size_t got = std::fread(hdr, 1, kHeaderSize, fp);
        int e = std::ferror(fp) ? errno : 0;
        std::fclose(fp);
        if (got != kHeaderSize) {
            syerr_message(kModule, kFunction, path, 14, e, kPlaceRead);
            finish(top, filled, catalogue_sets);
            return 14;
        }

        unsigned char* entry = setup_entry_addr(filled);
        if (entry == nullptr) break;  // the listing cap keeps this from happening
        std::memcpy(entry + setup_entry::kName, ds.name, 2);
        std::memcpy(entry + setup_entry::kCdNo, hdr + kHdrCdNo, 2);
        std::memcpy(entry + setup_entry::kCdDate, hdr + kHdrCdDate, 8);
        entry[setup_entry::kFlags] = '0';
        entry[setup_entry::kFlags + 1] = hdr[kHdrLanguage];
        entry[setup_entry::kPictureFlag] = picture ? 1 : 0;
        entry[setup_entry::kFlags + 3] = 0;
        ++filled;
        if (!ds.frame) ++catalogue_sets;
    }
    finish(top, filled, catalogue_sets);
    return 0;
}

void remove_building_leftovers() {
    const unsigned char* top = get_ctop_addr();
    if (top == nullptr) return;
    // Areas on one drive share its master directory: it is swept once.
    std::vector<std::optional<std::string>> swept;
    for (int area = 0; area < 4; ++area) {
        const char drive = area_drive(top, area);
        char dir[kPathSize];
        if (!dataset_path(kPathMaster, drive, "", dir)) continue;
        auto host = plat::host_path(dir);
        if (std::find(swept.begin(), swept.end(), host) != swept.end()) continue;
        swept.push_back(host);
        remove_building_dirs(kPathMaster, drive);
    }
    if (has_directory(top, ctop::kFrameWorldDir)) remove_building_dirs(kPathFrameWorld, 0);
    if (has_directory(top, ctop::kFrameJapanDir)) remove_building_dirs(kPathFrameJapan, 0);
}

}  // namespace pxall
