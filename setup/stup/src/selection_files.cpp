// The selection files the catalogue set-up screen edits (CATALOG.TMP,
// FRAME.TMP), the drive information (DRVINFO.TMP), and the screen's small
// questions: installed language, client installation, data sets on a drive.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/cdrom.h"
#include "pxall/errlog.h"
#include "pxall/keyed_layout.h"
#include "pxall/paths.h"
#include "pxall/setup_scan.h"
#include "stup/stup.h"
#include "stup_internal.h"

namespace pxstup {

namespace {

namespace ct = pxall::ctop;
namespace kl = pxall::keyed;

constexpr const char* kLanguageWords[9] = {"ENGLISH", "JAPANESE", "FRENCH", "GERMANY", "SPANISH", " ", " ", " ",
                                           "OTHER"};
constexpr const char* kClientMarker = "QEL.CHK";
constexpr int kLabelFailure = 81;

unsigned char* top() { return pxall::get_ctop_addr(); }

std::string work_path(const char* name) {
    char path[pxall::kPathSize] = {};
    std::snprintf(path, sizeof path, "%s", name);
    pxall::get_path_name(pxall::kPathWork, -1, path);
    return path;
}

void to_vb(VbString* s, const std::string& text) {
    if (s == nullptr || s->data == nullptr || s->len <= 0) return;
    std::memset(s->data, 0, static_cast<size_t>(s->len));
    std::memcpy(s->data, text.data(), std::min(text.size(), static_cast<size_t>(s->len)));
}

char area_drive(int a) { return static_cast<char>(top()[ct::kAreaDrives + 2 * a]); }

// The directory name a CD entry of a block stands for.
void entry_dir(const unsigned char* e, char letter, bool frame, char* out) {
    out[0] = letter;
    char c = dir_char(reinterpret_cast<const char*>(e + cde::kCode), frame);
    out[1] = c == 0 ? ' ' : c;
}

// Marks the CD entries whose CD is in a drive now. The label read's result
// of the last drive (0 when there is none).
int mark_in_drive(unsigned char* blocks, int count, const char* letters, bool frame) {
    int n = std::min<int>(top()[ct::kDriveCount], ct::kMaxDrives);
    int last = 0;
    for (int d = 0; d < n; ++d) {
        char ident[pxall::kCdIdentSize];
        int err = 0;
        last = pxall::cdread_head(d, ident, &err);
        if (last != 0) continue;
        for (int b = 0; b < count; ++b) {
            unsigned char* block = blocks + b * kBlockSize;
            for (int j = 0; j < kCdEntries; ++j) {
                unsigned char* e = block + blk::kEntries + j * kCdEntrySize;
                if (blank(static_cast<char>(e[cde::kCode]))) continue;
                char name[2];
                entry_dir(e, letters[b], frame, name);
                if (std::memcmp(name, ident, 2) == 0 && std::memcmp(e + cde::kIssue, ident + 2, 8) == 0)
                    e[cde::kInDrive] = '1';
            }
        }
    }
    return last;
}

bool fill_entry(unsigned char* block, int* used, const unsigned char* setup, bool picture) {
    if (*used >= kCdEntries) return false;
    unsigned char* e = block + blk::kEntries + (*used)++ * kCdEntrySize;
    std::memcpy(e + cde::kCode, setup + pxall::setup_entry::kCdNo, 2);
    std::memcpy(e + cde::kIssue, setup + pxall::setup_entry::kCdDate, 8);
    e[cde::kKind] = picture ? '1' : '0';
    return true;
}

int write_file(const std::string& path, const unsigned char* data, size_t n, const char* function) {
    std::FILE* fp = plat::fopen(path, "wb");
    if (fp == nullptr) {
        pxall::syerr_message("PXSTUP12", function, path.c_str(), 11, errno, 1);
        return 11;
    }
    bool ok = put_bytes(fp, path, data, n);
    int e = errno;
    if (std::fclose(fp) != 0 && ok) {
        ok = false;
        e = errno;
    }
    if (!ok) {
        pxall::syerr_message("PXSTUP12", function, path.c_str(), 13, e, 2);
        return 13;
    }
    return 0;
}

// Plain directories of a listing whose first character is the letter and
// whose second is a digit (catalogue) or not (frame numbers). 0, or the
// listing's error other than "nothing found" / "no more files".
int32_t list_sets(const std::string& dir, char letter, bool frame, std::vector<std::string>* names, size_t max) {
    plat::FindData found;
    int32_t h = plat::find_first(join(dir, "*."), &found);
    if (h == 0) {
        int32_t e = plat::last_error();
        return (e == plat::kErrFileNotFound || e == plat::kErrPathNotFound || e == plat::kErrNoMoreFiles) ? 0 : e;
    }
    do {
        const std::string& n = found.name;
        if (!(found.attributes & plat::kAttrDirectory) || n.size() != 2) continue;
        char c0 = static_cast<char>(std::toupper(static_cast<unsigned char>(n[0])));
        char c1 = static_cast<char>(std::toupper(static_cast<unsigned char>(n[1])));
        if (c0 != letter || is_digit(c1) == frame) continue;
        if (names->size() < max) names->push_back(std::string{c0, c1});
    } while (plat::find_next(h, &found));
    int32_t e = plat::last_error();
    plat::find_close(h);
    return e == plat::kErrNoMoreFiles ? 0 : e;
}

}  // namespace

}  // namespace pxstup

using namespace pxstup;

int32_t stup_make_tmpfile(VbString* catalog_path, VbString* frame_path, int16_t client) {
    if (top() == nullptr) return 11;
    pxall::setuped_cd_check();
    unsigned char catalog[kCatalogImage];
    unsigned char frame[kFrameImage];
    std::memset(catalog, ' ', sizeof catalog);
    std::memset(frame, ' ', sizeof frame);

    const std::string master = state_dir(ct::kMasterDir);
    const int count = std::min(pxall::get_i32(top() + ct::kSetupCount), ct::kMaxSetup);
    for (int a = 0; a < 4; ++a) {
        unsigned char* block = catalog + a * kBlockSize;
        block[blk::kDrive] = master.empty() ? ' ' : static_cast<unsigned char>(master[0]);
        int used = 0;
        for (int i = 0; i < count; ++i) {
            const unsigned char* e = pxall::setup_entry_addr(i);
            if (static_cast<char>(e[0]) != kAreaLetters[a] || !is_digit(static_cast<char>(e[1]))) continue;
            char drive = area_drive(a);
            if (!blank(drive)) {
                block[blk::kDrive] = static_cast<unsigned char>(drive);
                if (client == 1) block[blk::kSelected] = '1';
            }
            std::string dir = join(on_drive(master, drive), std::string(reinterpret_cast<const char*>(e), 2));
            fill_entry(block, &used, e, plat::file_exists(join(dir, "IMAGEF.DAT")));
        }
    }
    for (int b = 0; b < 2; ++b) {
        unsigned char* block = frame + b * kBlockSize;
        const size_t at = b == 0 ? ct::kFrameWorldDir : ct::kFrameJapanDir;
        char letter = b == 0 ? 'E' : 'J';
        if (top()[at] == ' ') top()[at] = static_cast<unsigned char>(plat::current_directory()[0]);
        char drive = static_cast<char>(top()[at]);
        if (drive == 0) drive = plat::current_directory()[0];
        block[blk::kDrive] = static_cast<unsigned char>(drive);
        int used = 0;
        for (int i = 0; i < count; ++i) {
            const unsigned char* e = pxall::setup_entry_addr(i);
            if (static_cast<char>(e[0]) != letter || (e[1] != 'F' && e[1] != 'G')) continue;
            if (client == 1) block[blk::kSelected] = '1';
            std::string dir = join(state_dir(at), std::string(reinterpret_cast<const char*>(e), 2));
            fill_entry(block, &used, e, plat::file_exists(join(dir, "FRKATA.DAT")));
        }
    }
    int last = mark_in_drive(catalog, 4, kAreaLetters, false);
    mark_in_drive(frame, 2, "EJ", true);

    const std::string cpath = work_path("CATALOG.TMP");
    const std::string fpath = work_path("FRAME.TMP");
    to_vb(catalog_path, cpath);
    to_vb(frame_path, fpath);
    int r = write_file(cpath, catalog, sizeof catalog, "stup_make_tmpfile");
    if (r != 0) return r;
    r = write_file(fpath, frame, sizeof frame, "stup_make_tmpfile");
    if (r != 0) return r;
    return last == kLabelFailure ? kLabelFailure : 0;
}

int32_t VBGet_Latest_Lang(int16_t* language, VbString* name) {
    if (top() == nullptr || pxall::get_i32(top() + ct::kAreaIndex) == -1) return 1;
    const int count = std::min(pxall::get_i32(top() + ct::kSetupCount), ct::kMaxSetup);
    for (int i = 0; i < count; ++i) {
        const unsigned char* e = pxall::setup_entry_addr(i);
        if (area_index(static_cast<char>(e[0])) < 0 || !is_digit(static_cast<char>(e[1]))) continue;
        const unsigned char* code = e + pxall::setup_entry::kFlags;
        int n = (is_digit(static_cast<char>(code[0])) ? code[0] - '0' : 0) * 10 +
                (is_digit(static_cast<char>(code[1])) ? code[1] - '0' : 0);
        if (language != nullptr) *language = static_cast<int16_t>(n);
        const char* word = (n >= 1 && n <= 9) ? kLanguageWords[n - 1] : "";
        to_vb(name, word);
        return 0;
    }
    return 2;
}

int32_t stup_client_check() { return plat::file_exists(work_path(kClientMarker)) ? 1 : 0; }

int32_t ClientDriveCheck(int16_t type, const char* drive) {
    if (top() == nullptr || drive == nullptr) return 1;
    const char* letters = "EGUJ";
    char letter = type >= 0 && type <= 3 ? letters[type] : (type == 4 ? 'E' : 'J');
    bool frame = type < 0 || type > 3;
    std::string dir = on_drive(state_dir(ct::kMasterDir), drive[0]);
    plat::FindData found;
    int32_t h = plat::find_first(join(dir, std::string(1, letter) + "*."), &found);
    if (h == 0) return 1;
    int32_t result = 1;
    do {
        const std::string& n = found.name;
        if (found.attributes != plat::kAttrDirectory || n.empty()) continue;
        if (is_digit(n.back()) != frame) {
            result = 0;
            break;
        }
    } while (plat::find_next(h, &found));
    plat::find_close(h);
    return result;
}

int16_t GetSetupedDriveInfo(int16_t type, const char* drive, VbString* info_path) {
    const char* fn = "GetSetupedDriveInfo";
    if (top() == nullptr || drive == nullptr) return 11;
    const std::string path = work_path("DRVINFO.TMP");
    to_vb(info_path, path);
    unsigned char block[kBlockSize];
    std::memset(block, ' ', sizeof block);
    block[blk::kDrive] = static_cast<unsigned char>(drive[0]);

    const bool frame = type < 0 || type > 3;
    const char letter = "EGUJEJ"[frame ? (type == 4 ? 4 : 5) : type];
    const size_t fdir_at = type == 4 ? ct::kFrameWorldDir : ct::kFrameJapanDir;
    std::string base = frame ? on_drive(state_dir(fdir_at), drive[0]) : on_drive(state_dir(ct::kMasterDir), drive[0]);

    auto finish = [](int16_t r) {
        pxall::setuped_cd_check();
        return r;
    };
    std::vector<std::string> names;
    int32_t e = list_sets(base, letter, frame, &names, kCdEntries);
    if (e != 0) {
        pxall::syerr_message("PXSTUP14", fn, "FindNextFile", 12, e, 1);
        return finish(12);
    }
    if (names.empty()) return finish(1);
    std::sort(names.begin(), names.end());

    int used = 0;
    for (const std::string& n : names) {
        std::string dir = join(base, n);
        bool picture = plat::file_exists(join(dir, frame ? "FRKATA.DAT" : "IMAGEF.DAT"));
        if (frame)
            top()[fdir_at] = static_cast<unsigned char>(drive[0]);
        else
            top()[ct::kAreaDrives + 2 * static_cast<size_t>(type)] = static_cast<unsigned char>(drive[0]);
        std::string mst = join(dir, frame ? kl::kFrameMaster : kl::kRootMaster);
        std::FILE* fp = plat::fopen(mst, "rb");
        if (fp == nullptr) {
            pxall::syerr_message("PXSTUP14", fn, "fopen", 11, errno, 2);
            return finish(11);
        }
        unsigned char hdr[kl::mhdr::kSize];
        size_t got = std::fread(hdr, 1, sizeof hdr, fp);
        std::fclose(fp);
        if (got != sizeof hdr) {
            pxall::syerr_message("PXSTUP14", fn, "fread", 14, 0, 3);
            return finish(14);
        }
        unsigned char* ce = block + blk::kEntries + used++ * kCdEntrySize;
        std::memcpy(ce + cde::kCode, hdr + kl::mhdr::kCdNo, 2);
        std::memcpy(ce + cde::kIssue, hdr + kl::mhdr::kCdDate, 8);
        ce[cde::kKind] = picture ? '1' : '0';
    }

    // Which of them is in a CD drive now (frame numbers: the first 'F', the
    // others 'G').
    int nd = std::min<int>(top()[ct::kDriveCount], ct::kMaxDrives);
    for (int d = 0; d < nd; ++d) {
        char ident[pxall::kCdIdentSize];
        int err = 0;
        if (pxall::cdread_head(d, ident, &err) != 0) continue;
        for (int j = 0; j < used; ++j) {
            unsigned char* ce = block + blk::kEntries + j * kCdEntrySize;
            char name[2] = {letter, frame ? (j == 0 ? 'F' : 'G') : ' '};
            if (!frame) {
                char c = dir_char(reinterpret_cast<const char*>(ce + cde::kCode), false);
                name[1] = c == 0 ? ' ' : c;
            }
            if (std::memcmp(name, ident, 2) == 0 && std::memcmp(ce + cde::kIssue, ident + 2, 8) == 0)
                ce[cde::kInDrive] = '1';
        }
    }

    std::FILE* out = plat::fopen(path, "wb");
    if (out == nullptr) {
        pxall::syerr_message("PXSTUP14", fn, "fopen", 11, errno, 4);
        return finish(11);
    }
    bool ok = put_bytes(out, path, block, sizeof block);
    if (std::fclose(out) != 0) ok = false;
    if (!ok) {
        pxall::syerr_message("PXSTUP14", fn, "fwrite", 13, errno, 5);
        return finish(13);
    }
    return finish(0);
}
