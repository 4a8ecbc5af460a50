// The list's work files PXVCAT.TMP and DSPCAT.TMP.
#include <cerrno>
#include <cstring>

#include "platform/files.h"
#include "pxall/errlog.h"
#include "vcat_state.h"

namespace pxvcat {

namespace {

int32_t last_errno() { return errno != 0 ? errno : EIO; }

void close_quietly(std::FILE** fp) {
    if (*fp != nullptr) std::fclose(*fp);
    *fp = nullptr;
}

void display_record(const unsigned char* r, unsigned char* d) {
    std::memcpy(d + dsp::kCarName, r + row::kCarName, row::kCarNameSize);
    std::memcpy(d + dsp::kCatalog, r + row::kCatalog, row::kCatalogSize);
    std::memcpy(d + dsp::kDateFrom, r + row::kDateFrom, row::kDateSize);
    d[dsp::kDash] = '-';
    std::memcpy(d + dsp::kDateTo, r + row::kDateTo, row::kDateSize);
    std::memcpy(d + dsp::kItem, r + row::kItem, row::kItemSize);
    std::memcpy(d + dsp::kField, r + row::kField, row::kFieldSize);
    std::memcpy(d + dsp::kCdNo, r + row::kCdNo, row::kCdNoSize);
}

}  // namespace

void release_cursor() {
    State& s = state();
    if (s.cursor != nullptr)
        pxall::cdget_some_cd_data(nullptr, nullptr, 0, -1, 0, nullptr, 0, nullptr, nullptr, 0, 0, nullptr, nullptr, 0,
                                  &s.cursor, nullptr);
    s.cursor = nullptr;
}

int vcat_open_tmp(const char* mode) {
    State& s = state();
    std::memset(s.rows_path, 0, sizeof s.rows_path);
    std::strcpy(s.rows_path, kRowsName);
    if (int r = pxall::get_path_name(pxall::kPathWork, -1, s.rows_path); r != 0) {
        pxall::syerr_message(kModule, "vcat_open_tmp", "get_path_name", r, 0, 20);
        return -1;
    }
    if (s.rows_fp != nullptr) {
        errno = 0;
        int closed = std::fclose(s.rows_fp);
        s.rows_fp = nullptr;
        if (closed != 0) {
            pxall::syerr_message(kModule, "vcat_open_tmp", kRowsName, 12, last_errno(), 21);
            return -1;
        }
    }
    errno = 0;
    s.rows_fp = plat::fopen(s.rows_path, mode);
    if (s.rows_fp == nullptr) {
        pxall::syerr_message(kModule, "vcat_open_tmp", kRowsName, 11, last_errno(), 22);
        return -1;
    }
    return 0;
}

int vcat_set_table2_temp() {
    State& s = state();
    const char* fn = "vcat_set_table2_temp";
    if (vcat_open_tmp("wb") != 0) return -1;
    errno = 0;
    s.display_fp = plat::fopen(s.display_path, "wt");
    if (s.display_fp == nullptr) {
        pxall::syerr_message(kModule, fn, kDisplayName, 11, last_errno(), 23);
        return -1;
    }
    for (int32_t i = 0; i < s.count; ++i) {
        errno = 0;
        if (std::fwrite(s.rows[i], 1, row::kSize, s.rows_fp) != row::kSize) {
            pxall::syerr_message(kModule, fn, kRowsName, 13, last_errno(), 24);
            return -1;
        }
        unsigned char d[dsp::kSize];
        display_record(s.rows[i], d);
        errno = 0;
        if (std::fwrite(d, 1, sizeof d, s.display_fp) != sizeof d) {
            pxall::syerr_message(kModule, fn, kDisplayName, 13, last_errno(), 25);
            return -1;
        }
    }
    errno = 0;
    int closed = std::fclose(s.display_fp);
    s.display_fp = nullptr;
    if (closed != 0) {
        pxall::syerr_message(kModule, fn, kDisplayName, 12, last_errno(), 26);
        return -1;
    }
    errno = 0;
    closed = std::fclose(s.rows_fp);
    s.rows_fp = nullptr;
    if (closed != 0) {
        pxall::syerr_message(kModule, fn, kRowsName, 12, last_errno(), 27);
        return -1;
    }
    return 0;
}

int vcat_read_tmp(int32_t n, unsigned char* out) {
    State& s = state();
    errno = 0;
    if (std::fseek(s.rows_fp, static_cast<long>(n) * static_cast<long>(row::kSize), SEEK_SET) != 0) {
        pxall::syerr_message(kModule, "vcat_read_tmp", kRowsName, 15, last_errno(), 28);
        return -1;
    }
    errno = 0;
    if (std::fread(out, 1, row::kSize, s.rows_fp) != row::kSize) {
        pxall::syerr_message(kModule, "vcat_read_tmp", kRowsName, 14, std::ferror(s.rows_fp) ? last_errno() : 0, 29);
        return -1;
    }
    return 0;
}

void vcat_close_all() {
    State& s = state();
    close_quietly(&s.jouhou_fp);
    close_quietly(&s.rows_fp);
    close_quietly(&s.display_fp);
    // JOUHOU.TMP belongs to the vehicle search and stays.
    if (s.rows_path[0] != 0) plat::delete_file(s.rows_path);
    if (s.display_path[0] != 0) plat::delete_file(s.display_path);
}

void vcat_abort() {
    release_cursor();
    vcat_close_all();
}

}  // namespace pxvcat
