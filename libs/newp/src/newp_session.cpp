// The screen's session: start, CD pop-up, names, texts, the catalogue code
// handed to the catalogue list, and the end.
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "newp/newp.h"
#include "newp/newp_layout.h"
#include "newp_state.h"
#include "platform/files.h"
#include "pxall/cd_popup.h"
#include "pxall/cdrom.h"
#include "pxall/errlog.h"
#include "pxall/hinban.h"
#include "pxall/texts.h"

namespace newp {

namespace {

void put_string(VbString* s, const char* text, size_t n) {
    if (s == nullptr || s->data == nullptr || s->len < 1) return;
    size_t len = static_cast<size_t>(s->len);
    std::memset(s->data, 0, len);
    std::memcpy(s->data, text, n < len ? n : len);
}

void put_field(VbString* s, const unsigned char* block, size_t at, size_t n) {
    if (block == nullptr || s == nullptr || s->data == nullptr || s->len < 1) return;
    size_t len = static_cast<size_t>(s->len);
    std::memcpy(s->data, block + at, n < len ? n : len);
}

bool build_path(PathSlot slot, const char* name, int kind) {
    char* p = st().paths[slot];
    std::memset(p, 0, pxall::kPathSize);
    std::strncpy(p, name, pxall::kPathSize - 1);
    if (pxall::get_path_name(kind, -1, p) == 0) return true;
    p[0] = 0;
    return false;
}

int write_popup(int16_t* msg, int16_t* kind) {
    State& s = st();
    if (msg != nullptr) *msg = 105;
    if (kind != nullptr) *kind = 0;
    auto* recs = static_cast<unsigned char*>(std::malloc(pxall::kPopupMaxRecords * pxall::popup_rec::kSize));
    if (recs == nullptr) {
        log("newp_popup_make_data", "malloc", 20, 0, 1);
        return kFailed;
    }
    int32_t count = 0;
    char letter = area_letter();
    if (letter != 0) {
        const char* present = pxall::get_scr_text(pxall::kPopupPresentText);
        int detail = 0;
        int r = pxall::cd_popup_records(letter, present != nullptr ? present : "", recs, &count, &detail);
        if (r != 0) {
            pxall::syerr_message(kPopupModule, "newp_popup_make_data", "cdmake_cdidtbl_alldrive", r, detail, 2);
            std::free(recs);
            return kFailed;
        }
    }
    int r = 0;
    std::FILE* f = s.paths[kPathPopup][0] != 0 ? plat::fopen(s.paths[kPathPopup], "wb") : nullptr;
    if (f == nullptr) {
        pxall::syerr_message(kPopupModule, "newp_write_popup", "fopen", 11, errno, 3);
        r = kFailed;
    }
    for (int32_t i = 0; f != nullptr && r == 0 && i < count; ++i) {
        if (std::fseek(f, static_cast<long>(i) * static_cast<long>(pxall::popup_rec::kSize), SEEK_SET) != 0) {
            pxall::syerr_message(kPopupModule, "newp_write_popup", "fseek", 15, errno, 4);
            r = kFailed;
        } else if (std::fwrite(recs + static_cast<size_t>(i) * pxall::popup_rec::kSize, 1, pxall::popup_rec::kSize,
                               f) != pxall::popup_rec::kSize) {
            pxall::syerr_message(kPopupModule, "newp_write_popup", "fwrite", 13, errno, 5);
            r = kFailed;
        }
    }
    if (f != nullptr && std::fclose(f) != 0 && r == 0) {
        pxall::syerr_message(kPopupModule, "newp_write_popup", "fwrite", 13, errno, 6);
        r = kFailed;
    }
    std::free(recs);
    return r;
}

}  // namespace

State& st() {
    static State s;
    return s;
}

void log(const char* function, const char* step, int code, int second, int place) {
    pxall::syerr_message(kModule, function, step, code, second, place);
}

char area_letter() {
    const unsigned char* top = pxall::get_ctop_addr();
    char letter = 0;
    if (top == nullptr || pxall::GetAreaChar(pxall::get_i32(top + pxall::ctop::kAreaIndex), &letter) != 0) return 0;
    return letter;
}

void select_start_cd() {
    State& s = st();
    s.start_index = -1;
    char letter = area_letter();
    if (letter == 0) return;
    int i = pxall::setuped_top_cdno(letter);
    const unsigned char* e = pxall::setup_entry_addr(i);
    if (e == nullptr) return;
    s.start_index = i;
    std::memcpy(s.start_no, e + pxall::setup_entry::kCdNo, 2);
}

void close_all() {
    State& s = st();
    for (std::FILE** f : {&s.list, &s.parts, &s.csv})
        if (*f != nullptr) {
            std::fclose(*f);
            *f = nullptr;
        }
    for (pxall::CdHandle** h : {&s.hinban, &s.hinmei, &s.fig_cur, &s.fig_cmp}) pxall::cdclose(h, nullptr);
}

void delete_work(bool copy, bool list, bool parts) {
    State& s = st();
    const bool which[3] = {copy, list, parts};
    for (int i = 0; i < 3; ++i)
        if (which[i] && s.paths[i][0] != 0) plat::delete_file(s.paths[i]);
}

bool on_disk(int32_t setup_index) {
    char path[pxall::kPathSize] = "IMAGEF.DAT";
    return setup_index >= 0 && pxall::get_path_name(pxall::kPathMaster, setup_index, path) == 0 &&
           plat::file_exists(path);
}

}  // namespace newp

using namespace newp;

extern "C" {

int32_t newp_init() {
    State& s = st();
    s.top = pxall::get_ctop_addr();
    s.car = pxall::get_ccar_addr();
    s.next = pxall::get_cnexta_addr();
    int32_t low = 0;
    const struct {
        PathSlot slot;
        const char* name;
        int kind;
    } files[] = {{kPathCopy, kCopyFile, pxall::kPathWork},
                 {kPathList, kListFile, pxall::kPathWork},
                 {kPathParts, kPartFile, pxall::kPathWork},
                 {kPathPopup, pxall::kPopupFileName, pxall::kPathWork},
                 {kPathCsv, kCsvFile, pxall::kPathMaster}};
    for (const auto& f : files)
        if (!build_path(f.slot, f.name, f.kind)) {
            log("newp_init", "get_path_name", -1, 0, 7 + f.slot);
            low = kFailed;
        }
    if (s.buf_cur == nullptr) s.buf_cur = static_cast<unsigned char*>(std::malloc(kBufSize));
    if (s.buf_cmp == nullptr) s.buf_cmp = static_cast<unsigned char*>(std::malloc(kBufSize));
    if (s.buf_cur == nullptr || s.buf_cmp == nullptr) {
        log("newp_init", "malloc", 20, 0, 12);
        low = kFailed;
    }
    close_all();
    int32_t count = 0;
    if (s.top != nullptr) {
        std::memcpy(s.cd_table, s.top + pxall::ctop::kSetupTable, sizeof s.cd_table);
        count = pxall::get_i32(s.top + pxall::ctop::kSetupCount);
    }
    if (count < 0) count = 0;
    if (count > pxall::ctop::kMaxSetup) count = pxall::ctop::kMaxSetup;
    s.cd_count = count;
    int32_t changes = 1;
    for (int32_t i = 1; i < count; ++i)
        if (s.cd_table[i * pxall::ctop::kSetupEntrySize] != s.cd_table[(i - 1) * pxall::ctop::kSetupEntrySize])
            ++changes;
    return static_cast<int32_t>(static_cast<uint32_t>(changes) << 16 | static_cast<uint16_t>(low));
}

int32_t newp_term() {
    State& s = st();
    std::free(s.buf_cur);
    std::free(s.buf_cmp);
    s.buf_cur = s.buf_cmp = nullptr;
    close_all();
    delete_work(true, true, true);
    return 0;
}

int32_t newp_area_check() {
    select_start_cd();
    return st().start_index < 0 ? -1 : 0;
}

int32_t newp_popup(int16_t* msg, int16_t* kind) { return write_popup(msg, kind); }

int32_t newp_file_name_set(VbString* work0, VbString* list, VbString* parts, VbString* popup) {
    State& s = st();
    VbString* outs[] = {work0, list, parts, popup};
    for (int i = 0; i < 4; ++i) put_string(outs[i], s.paths[i], std::strlen(s.paths[i]));
    return 0;
}

int32_t newp_get_text(VbString* catalog, VbString* car_name, VbString* from, VbString* to) {
    const unsigned char* car = pxall::get_ccar_addr();
    put_field(catalog, car, pxall::ccar::kCatalog, 6);
    put_field(car_name, car, pxall::ccar::kVehicleName, 20);
    put_field(from, car, pxall::ccar::kProdFrom, 4);
    put_field(to, car, pxall::ccar::kProdTo, 4);
    return 0;
}

int32_t newp_catalog_input(VbString* code) {
    unsigned char* car = pxall::get_ccar_addr();
    unsigned char* next = pxall::get_cnexta_addr();
    if (car == nullptr || next == nullptr) return kFailed;
    unsigned char key[kInputCodeSize];
    std::memset(key, ' ', sizeof key - 1);
    key[sizeof key - 1] = 0;
    for (int i = 0; code != nullptr && code->data != nullptr && i < code->len && i < 14 && code->data[i] != 0; ++i)
        key[i] = static_cast<unsigned char>(code->data[i]);
    std::memcpy(next + pxall::cnexta::kSearchKey, key, sizeof key);
    std::memcpy(car + kCarInputCode, key, sizeof key);
    int32_t index = -1, found = 0;
    if (pxall::make_setuped_top_cdid_table(&index, &found) != 0 || found == 0) {
        log("newp_catalog_input", "make_setuped_top_cdid_table", -1, 0, 13);
        newp_term();
        return kFailed;
    }
    pxall::put_i32(car + pxall::ccar::kSearchCds, index);
    pxall::put_i32(car + pxall::ccar::kSearchCdCount, 1);
    return 0;
}

int32_t newp_clear() {
    close_all();
    delete_work(true, true, true);
    if (unsigned char* car = pxall::get_ccar_addr()) std::memset(car, 0, pxall::area::kCcarSize);
    select_start_cd();
    return 0;
}

}  // extern "C"
