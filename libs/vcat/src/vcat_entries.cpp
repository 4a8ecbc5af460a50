// The five entries of the catalogue list.
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "pxall/blocks.h"
#include "pxall/errlog.h"
#include "pxall/strutil.h"
#include "pxall/vehicle_work_layout.h"
#include "vcat/vcat.h"
#include "vcat_state.h"

namespace pxvcat {

namespace {

constexpr int kKeySize = 15;

Mode mode_of(const char* key) {
    int len = pxall::memlenb(key, kKeySize);
    if (len == 0) return kModeVehicles;
    if (len == 3 && std::memcmp(key, "ALL", 3) == 0) return kModeAll;
    if (len == static_cast<int>(pxall::kCatalogSize) && pxall::memcatcheck(key, len)) return kModeCode;
    return kModeName;
}

int work_path(char* buf, const char* name) {
    std::memset(buf, 0, pxall::kPathSize);
    std::strcpy(buf, name);
    return pxall::get_path_name(pxall::kPathWork, -1, buf);
}

void set_end_mode(int32_t mode) {
    if (unsigned char* ccar = pxall::get_ccar_addr()) pxall::put_i32(ccar + pxall::ccar::kListEndMode, mode);
}

// The chosen row into the current-vehicle block.
void vcat_set_ccar(const unsigned char* r, unsigned char* ccar) {
    namespace cc = pxall::ccar;
    std::memcpy(ccar + cc::kCatalog, r + row::kCatalog, row::kCatalogSize);
    std::memcpy(ccar + cc::kVehicleName, r + row::kCarName, row::kCarNameSize);
    std::memcpy(ccar + cc::kCarNameBytes, r + row::kField, row::kFieldSize);
    std::memcpy(ccar + cc::kProdFrom, r + row::kDateFrom, row::kDateSize);
    std::memcpy(ccar + cc::kProdTo, r + row::kDateTo, row::kDateSize);
    std::memcpy(ccar + cc::kNameSetupIndex, r + row::kReadIndex, 4);
    std::memcpy(ccar + cc::kSetupIndex, r + row::kOwnIndex, 4);
}

int32_t fail_init(const char* step, int32_t code, int place) {
    pxall::syerr_message(kModule, "vcat_init", step, code, 0, place);
    vcat_abort();
    return -1;
}

}  // namespace

}  // namespace pxvcat

extern "C" int32_t vcat_init() {
    using namespace pxvcat;
    State& s = state();
    // A list that was never ended is ended now, so no stream or cursor of
    // it stays open.
    release_cursor();
    vcat_close_all();
    s.count = 0;
    s.mode = kModeNone;

    const unsigned char* cnexta = pxall::get_cnexta_addr();
    if (cnexta == nullptr || pxall::get_ccar_addr() == nullptr) return fail_init("get_cnexta_addr", 128, 40);
    if (int r = work_path(s.jouhou_path, pxall::vehwork::kJouhouName); r != 0) return fail_init("get_path_name", r, 41);
    if (int r = work_path(s.display_path, kDisplayName); r != 0) return fail_init("get_path_name", r, 42);
    if (int r = work_path(s.rows_path, kRowsName); r != 0) return fail_init("get_path_name", r, 43);

    const char* key = reinterpret_cast<const char*>(cnexta + pxall::cnexta::kSearchKey);
    s.mode = mode_of(key);
    int r = s.mode == kModeVehicles ? vcat_load2() : vcat_load1(key, pxall::memlenb(key, kKeySize));
    if (r != 0) {
        vcat_abort();
        return -1;
    }
    if (s.count == 0) {
        vcat_close_all();
        return 1;
    }
    if (vcat_set_table2_temp() != 0) {
        vcat_abort();
        return -1;
    }
    return 0;
}

extern "C" int32_t vcat_main(VbString* path) {
    const pxvcat::State& s = pxvcat::state();
    if (path == nullptr || path->data == nullptr || path->len <= 0) return 0;
    size_t room = static_cast<size_t>(path->len);
    size_t n = std::min(strnlen(s.display_path, sizeof s.display_path), room);
    std::memcpy(path->data, s.display_path, n);
    std::memset(path->data + n, 0, room - n);
    return 0;
}

extern "C" int32_t vcat_ret(int32_t chosen) {
    using namespace pxvcat;
    State& s = state();
    const int32_t n = static_cast<int16_t>(chosen & 0xffff);
    unsigned char* ccar = pxall::get_ccar_addr();
    // Only a row of the list can be chosen.
    if (n < 0 || n >= s.count || ccar == nullptr) {
        pxall::syerr_message(kModule, "vcat_ret", "row", n, s.count, 30);
        vcat_abort();
        return -1;
    }
    if (vcat_open_tmp("rb") != 0 || vcat_read_tmp(n, s.row_buf) != 0) {
        vcat_abort();
        return -1;
    }
    errno = 0;
    int closed = std::fclose(s.rows_fp);
    s.rows_fp = nullptr;
    if (closed != 0) {
        pxall::syerr_message(kModule, "vcat_ret", kRowsName, 12, errno != 0 ? errno : EIO, 31);
        vcat_abort();
        return -1;
    }
    vcat_set_ccar(s.row_buf, ccar);
    vcat_close_all();
    set_end_mode(kEndChosen);
    return 0;
}

extern "C" int32_t vcat_check_mode() { return pxvcat::state().mode == pxvcat::kModeVehicles ? 1 : 0; }

extern "C" int32_t vcat_end_proc(int32_t how) {
    using namespace pxvcat;
    set_end_mode(static_cast<int16_t>(how & 0xffff) == 3 ? kEndF3 : kEndClosed);
    vcat_abort();
    return 0;
}
