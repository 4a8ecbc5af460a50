// Save data files PXIFnnnn.SAV and the current saved list.
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/drives.h"
#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/paths.h"
#include "pxall/savefile.h"
#include "savefile_internal.h"

namespace pxall {

using namespace savefile;
using saveimpl::stream_errno;

namespace {

// The current saved list's stream; its 4-byte slot in the shared state block
// cannot hold an address and stays zero.
std::FILE* g_current = nullptr;

int32_t* or_dummy(int32_t* err, int32_t* dummy) { return err != nullptr ? err : dummy; }

void set_current_no(int32_t no) {
    if (unsigned char* top = get_ctop_addr()) put_i32(top + ctop::kCurrentSaveNo, no);
}

// Copies n bytes with every NUL made a blank.
void put_text(char* dst, const unsigned char* src, size_t n) {
    for (size_t i = 0; i < n; ++i) dst[i] = src[i] == 0 ? ' ' : static_cast<char>(src[i]);
}

}  // namespace

int open_save_dat_file(int32_t save_no, int32_t update_kind, int32_t mode, std::FILE** fp, int32_t* err) {
    int32_t dummy = 0;
    err = or_dummy(err, &dummy);
    *err = 0;
    if (fp != nullptr) *fp = nullptr;
    char path[kPathSize];
    if (int r = make_save_dat_file_name(save_no, path); r != 0) {
        *err = kErrDataOpenName;
        return r;
    }
    std::FILE* f = nullptr;
    if (mode == 1) {
        errno = 0;
        f = plat::fopen(path, "rb");
        if (f == nullptr) {
            *err = errno;
            return saveimpl::open_code(errno);
        }
    } else if ((mode == 2 || mode == 3) && (update_kind == kSaveUpdateInPlace || update_kind == kSaveUpdateNew)) {
        if (int r = saveimpl::open_staged(path, update_kind == kSaveUpdateInPlace, &f, err); r != 0) return r;
    } else {
        *err = EINVAL;
        return 11;
    }
    if (fp != nullptr) {
        *fp = f;
        return 0;
    }
    // A list left current is closed (its update kept) before another takes
    // its place, so no stream is lost.
    if (g_current != nullptr) {
        int32_t ignored = 0;
        saveimpl::end_stream(g_current, true, &ignored);
    }
    g_current = f;
    set_current_no(save_no);
    return 0;
}

int close_save_dat_file(std::FILE** fp, int32_t* err) {
    int32_t dummy = 0;
    err = or_dummy(err, &dummy);
    *err = 0;
    std::FILE** var = fp != nullptr ? fp : &g_current;
    if (fp == nullptr) set_current_no(0);
    if (*var == nullptr) return 0;
    int r = saveimpl::end_stream(*var, true, err);
    *var = nullptr;
    return r != 0 ? 12 : 0;
}

int read_save_dat_file(std::FILE* fp, void* buf, int32_t size, int32_t* err) {
    int32_t dummy = 0;
    err = or_dummy(err, &dummy);
    *err = 0;
    if (fp == nullptr || size < 0 || (buf == nullptr && size > 0)) {
        *err = EINVAL;
        return 14;
    }
    errno = 0;
    if (std::fread(buf, 1, static_cast<size_t>(size), fp) != static_cast<size_t>(size)) {
        *err = std::ferror(fp) ? stream_errno() : 0;
        return 14;
    }
    return 0;
}

int write_save_dat_file(std::FILE* fp, const void* buf, int32_t size, int32_t* err) {
    int32_t dummy = 0;
    err = or_dummy(err, &dummy);
    *err = 0;
    if (fp == nullptr || size < 0 || (buf == nullptr && size > 0)) {
        *err = EINVAL;
        return 13;
    }
    errno = 0;
    if (std::fwrite(buf, 1, static_cast<size_t>(size), fp) != static_cast<size_t>(size)) {
        *err = stream_errno();
        return 13;
    }
    return 0;
}

int seek_save_dat_file(std::FILE* fp, int32_t offset, int32_t* pos, int32_t* err) {
    int32_t dummy = 0;
    err = or_dummy(err, &dummy);
    *err = 0;
    if (fp == nullptr) {
        *err = EINVAL;
        return 15;
    }
    errno = 0;
    if (std::fseek(fp, offset, SEEK_SET) != 0) {
        *err = stream_errno();
        return 15;
    }
    if (pos != nullptr) *pos = static_cast<int32_t>(std::ftell(fp));
    return 0;
}

int del_save_dat_file(int32_t save_no, int32_t* err) {
    int32_t dummy = 0;
    err = or_dummy(err, &dummy);
    *err = 0;
    char path[kPathSize];
    if (int r = make_save_dat_file_name(save_no, path); r != 0) {
        *err = kErrDataDelName;
        return r;
    }
    auto host = plat::host_path(path);
    if (!host) {
        *err = ENOENT;
        return -1;
    }
    if (::unlink(host->c_str()) != 0) {
        *err = errno;
        return errno == ENOENT ? -1 : 16;
    }
    return 0;
}

int check_save_dat_file_handle() {
    struct stat st;
    return g_current != nullptr && ::fstat(::fileno(g_current), &st) == 0 ? 0 : -1;
}

std::FILE* current_save_dat_file() { return g_current; }

void set_save_file_vdata(char* header, int32_t number, const char* caller_header) {
    if (header == nullptr) return;
    // The caller's header may be this very buffer: take its notes first.
    unsigned char notes[kDatNotesSize];
    if (caller_header != nullptr) std::memcpy(notes, caller_header + kDatNotes, kDatNotesSize);
    std::memset(header, ' ', kDatHeaderSize);
    if (const unsigned char* car = get_ccar_addr()) {
        const unsigned char* vin = car + ccar::kVinPrefix;
        const unsigned char* frame = car + ccar::kFrameNo;
        put_text(header + kDatVin, vin, kDatVinSize);
        if (vin[0] > ' ' && frame[0] > ' ') put_text(header + kDatVinFrame, frame, kDatVinFrameSize);
        put_text(header + kDatVehicle, car + ccar::kSaveVehicle, kDatVehicleSize);
        put_text(header + kDatCatalog, car + ccar::kCatalog, kDatCatalogSize);
        put_text(header + kDatProdDate, car + ccar::kProdDate, kDatProdDateSize);
        put_text(header + kDatFrameModel, car + ccar::kFrameModel, kDatFrameModelSize);
        put_text(header + kDatFrameNo, frame, kDatFrameNoSize);
        put_text(header + kDatColor, car + ccar::kColorNo, kDatColorSize);
        put_text(header + kDatTrim, car + ccar::kTrimNo, kDatTrimSize);
        if (caller_header == nullptr) put_text(header + kDatNotes, car + ccar::kNotes, kDatNotesSize);
    }
    header[kDatDash] = '-';
    if (caller_header != nullptr) put_text(header + kDatNotes, notes, kDatNotesSize);
    // Three digits and no more: the field has no room for a fourth.
    int n = number >= 0 ? static_cast<int>(number % 1000) : 0;
    char digits[4];
    std::snprintf(digits, sizeof digits, "%03d", n);
    std::memcpy(header + kDatNumber, digits, kDatNumberSize);
}

void set_vjin_file_data() {}

}  // namespace pxall
