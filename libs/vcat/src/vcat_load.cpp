// Loading the car names: from the CDs of the current vehicle's list (modes
// 1-3) or for the vehicles of JOUHOU.TMP (mode 4).
#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/cdrom.h"
#include "pxall/errlog.h"
#include "pxall/strutil.h"
#include "pxall/vehicle_work_layout.h"
#include "vcat_state.h"

namespace pxvcat {

namespace {

namespace jt = pxall::vehwork::jtmp;

constexpr int kMaxCds = 4;
constexpr int kReadOne = 0;   // the reader's one-record mode
constexpr int kReadNext = 2;  // its continuing mode, a record a call

int32_t last_errno() { return errno != 0 ? errno : EIO; }

int read_next(const int32_t* list, int n, const char* key, int key_len, pxall::CdCursor** cursor, int* detail) {
    State& s = state();
    std::memset(s.record, 0, sizeof s.record);
    return pxall::cdget_some_cd_data(shamei::kFile, "", 1, kReadNext, -1, list, n, s.record, key, key_len, 0, nullptr,
                                     nullptr, 0, cursor, detail);
}

// The number of records the reader gives over the first n entries of the
// list. The reader does not say which entry a record comes from; since it
// visits the entries in order and passes over the same ones whatever follows
// them, these counts mark where each entry's records end.
int count_records(const int32_t* list, int n, const char* key, int key_len, int32_t* count, int* detail) {
    pxall::CdCursor* cursor = nullptr;
    int32_t k = 0;
    for (;;) {
        int r = read_next(list, n, key, key_len, &cursor, detail);
        if (r == 0) {
            ++k;
            continue;
        }
        if (cursor != nullptr)
            pxall::cdget_some_cd_data(nullptr, nullptr, 0, -1, 0, nullptr, 0, nullptr, nullptr, 0, 0, nullptr, nullptr,
                                      0, &cursor, nullptr);
        *count = k;
        return r == -1 ? 0 : r;
    }
}

// Whether the car name (text up to its first NUL) holds the key.
bool name_has(const unsigned char* rec, const char* key, int key_len) {
    const char* name = reinterpret_cast<const char*>(rec + shamei::kCarName);
    int len = static_cast<int>(strnlen(name, shamei::kCarNameSize));
    return pxall::memmem(name, len, key, key_len) >= 0;
}

// The car-name record of a vehicle's catalogue on its own CD into the
// state's record buffer: 0, or -1 logged.
int vcat_syamei_kensaku(const unsigned char* code, int32_t setup_index) {
    State& s = state();
    int detail = 0;
    std::memset(s.record, 0, sizeof s.record);
    int r = pxall::cdget_some_cd_data(shamei::kFile, "", 1, kReadOne, -1, &setup_index, 1, s.record,
                                      reinterpret_cast<const char*>(code), static_cast<int>(pxall::kCatalogSize), 0,
                                      nullptr, nullptr, 0, &s.cursor, &detail);
    release_cursor();
    if (r == 0) return 0;
    pxall::syerr_message(kModule, "vcat_syamei_kensaku", "cdget_some_cd_data", r, detail, 2);
    return -1;
}

}  // namespace

int vcat_load1(const char* key, int key_len) {
    State& s = state();
    const unsigned char* ccar = pxall::get_ccar_addr();
    int32_t list[kMaxCds] = {};
    int n = 0;
    if (ccar != nullptr) {
        n = pxall::get_i32(ccar + pxall::ccar::kSearchCdCount);
        // Never more than the four places of the block; none is the
        // reader's argument error.
        if (n < 0) n = 0;
        if (n > kMaxCds) n = kMaxCds;
        for (int i = 0; i < n; ++i) list[i] = pxall::get_i32(ccar + pxall::ccar::kSearchCds + 4 * i);
    }
    const char* read_key = s.mode == kModeCode ? key : nullptr;
    const int read_len = s.mode == kModeCode ? key_len : 0;

    int detail = 0;
    int32_t ends[kMaxCds] = {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX};
    for (int i = 0; i + 1 < n; ++i) {
        int r = count_records(list, i + 1, read_key, read_len, &ends[i], &detail);
        if (r != 0) {
            pxall::syerr_message(kModule, "vcat_load1", "cdget_some_cd_data", r, detail, 3);
            return -1;
        }
    }

    int32_t k = 0;
    int at = 0;
    for (;;) {
        int r = read_next(list, n, read_key, read_len, &s.cursor, &detail);
        if (r == -1) {
            s.cursor = nullptr;  // the reader frees it at the end
            return 0;
        }
        if (r != 0) {
            pxall::syerr_message(kModule, "vcat_load1", "cdget_some_cd_data", r, detail, 4);
            return -1;
        }
        while (at + 1 < n && k >= ends[at]) ++at;
        ++k;
        if (s.mode == kModeName && !name_has(s.record, key, key_len)) continue;
        // The table is full: the list goes on with the rows it holds.
        if (tblset(s.record, list[at]) == kFull) {
            release_cursor();
            return 0;
        }
    }
}

int vcat_load2() {
    State& s = state();
    errno = 0;
    s.jouhou_fp = plat::fopen(s.jouhou_path, "rb");
    if (s.jouhou_fp == nullptr) {
        pxall::syerr_message(kModule, "vcat_load2", "fopen JOUHOU.TMP", 11, last_errno(), 5);
        return -1;
    }
    errno = 0;
    long len = -1;
    if (std::fseek(s.jouhou_fp, 0, SEEK_END) == 0) len = std::ftell(s.jouhou_fp);
    if (len < 0 || std::fseek(s.jouhou_fp, 0, SEEK_SET) != 0) {
        pxall::syerr_message(kModule, "vcat_load2", "JOUHOU.TMP", 14, last_errno(), 6);
        return -1;
    }
    const long records = len / static_cast<long>(jt::kSize);
    for (long i = 0; i < records; ++i) {
        unsigned char rec[jt::kSize];
        errno = 0;
        if (std::fread(rec, 1, sizeof rec, s.jouhou_fp) != sizeof rec) {
            pxall::syerr_message(kModule, "vcat_load2", "JOUHOU.TMP", 14, std::ferror(s.jouhou_fp) ? last_errno() : 0,
                                 7);
            return -1;
        }
        if (rec[jt::kMark] > ' ') continue;  // narrowed away
        const int32_t setup_index = pxall::get_i32(rec + jt::kNum1);
        // One row per catalogue and CD, however many vehicles share them.
        if (has_row(rec + jt::kSix, setup_index)) continue;
        if (vcat_syamei_kensaku(rec + jt::kSix, setup_index) != 0) return -1;
        if (tblset(s.record, setup_index) == kFull) break;
    }
    errno = 0;
    int closed = std::fclose(s.jouhou_fp);
    s.jouhou_fp = nullptr;
    if (closed != 0) {
        pxall::syerr_message(kModule, "vcat_load2", "JOUHOU.TMP", 12, last_errno(), 8);
        return -1;
    }
    return 0;
}

}  // namespace pxvcat
