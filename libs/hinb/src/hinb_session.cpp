// The screen's session: start, CD table, work-file names and the end.
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "hinb/hinb.h"
#include "hinb/hinb_layout.h"
#include "hinb_state.h"
#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/cd_popup.h"
#include "pxall/cdrom.h"
#include "pxall/errlog.h"
#include "pxall/hinban.h"
#include "pxall/paths.h"
#include "pxall/part_records.h"

namespace hinb {

namespace {
constexpr const char* kModule = "PXHINB01";

// Copies a path into the caller's string, NUL-padded.
void put_string(VbString* s, const char* text) {
    if (s == nullptr || s->data == nullptr || s->len < 1) return;
    size_t n = std::strlen(text);
    size_t len = static_cast<size_t>(s->len);
    std::memset(s->data, 0, len);
    std::memcpy(s->data, text, n < len ? n : len);
}

}  // namespace

State& st() {
    static State s;
    return s;
}

void log(const char* module, const char* function, const char* step, int code, int second, int place) {
    pxall::syerr_message(module, function, step, code, second, place);
}

bool file_path(const char* name, char* path, int kind) {
    std::memset(path, 0, pxall::kPathSize);
    std::strncpy(path, name, pxall::kPathSize - 1);
    return pxall::get_path_name(kind, -1, path) == 0;
}

void hinmei_name(char* name, int size) {
    const unsigned char* top = st().top != nullptr ? st().top : pxall::get_ctop_addr();
    char code[3] = {'0', '1', 0};
    if (top != nullptr) std::memcpy(code, top + pxall::ctop::kDataLangCode, 2);
    std::snprintf(name, static_cast<size_t>(size), pxall::kHinmeiFormat, code);
}

char area_letter() {
    const unsigned char* top = pxall::get_ctop_addr();
    char letter = 0;
    if (top == nullptr || pxall::GetAreaChar(pxall::get_i32(top + pxall::ctop::kAreaIndex), &letter) != 0) return 0;
    return letter;
}

void free_cattbl() {
    std::free(st().cattbl);
    st().cattbl = nullptr;
    st().cat_count = 0;
}

int close_tmp(std::FILE** f, const char* function, int place) {
    if (*f == nullptr) return 0;
    int r = std::fclose(*f);
    *f = nullptr;
    if (r != 0) {
        log(kModule, function, "fclose", 12, errno, place);
        return kFailed;
    }
    return 0;
}

void delete_tmp(const char* name, const char* function, int place) {
    char path[pxall::kPathSize];
    if (!file_path(name, path)) {
        log(kModule, function, "get_path_name", -1, 0, place);
        return;
    }
    plat::delete_file(path);
}

}  // namespace hinb

using namespace hinb;

extern "C" {

int32_t hinb_init() {
    State& s = st();
    s.top = pxall::get_ctop_addr();
    s.car = pxall::get_ccar_addr();
    std::memset(s.search_text, '0', sizeof s.search_text);
    std::memset(s.search_code, '0', sizeof s.search_code);
    free_cattbl();
    std::free(s.name_buf);
    s.name_buf = nullptr;
    s.have_input = false;
    std::memset(s.cd_table, '0', sizeof s.cd_table);
    s.cd_count = 0;
    return 0;
}

int32_t hinb_cdmake_cdidtbl_alldrive(int32_t) {
    State& s = st();
    std::memset(s.cd_table, 0, sizeof s.cd_table);
    s.cd_count = 0;
    int32_t count = 0;
    int detail = 0;
    int r = pxall::cdmake_cdidtbl_alldrive(s.cd_table, &count, &detail);
    if (r != 0) {
        log(kModule, "hinb_cdmake_cdidtbl_alldrive", "cdmake_cdidtbl_alldrive", r, detail, 1);
        return -1;
    }
    s.cd_count = count < 0 ? 0 : (count > kCdTableSize ? kCdTableSize : count);
    return s.cd_count == 0 ? 1 : 0;
}

int32_t hinb_popup_set_sel(int16_t* count, int16_t* setup_index, int16_t* slot) {
    State& s = st();
    if (count == nullptr || setup_index == nullptr || slot == nullptr) return -1;
    // The table has kCdTableSize slots: anything outside it is refused.
    if (*slot < 0 || *slot >= kCdTableSize || *count < 0 || *count > kCdTableSize) {
        log(kModule, "hinb_popup_set_sel", "switch", 128, *slot < 0 || *slot >= kCdTableSize ? *slot : *count, 2);
        return -1;
    }
    s.cd_table[*slot] = *setup_index;
    s.cd_count = *count;
    return 0;
}

int32_t hinb_popup_make_cat() {
    State& s = st();
    for (int i = 0; i < s.cd_count; ++i) {
        int r = make_cattbl(s.cd_table[i]);
        if (r == 4) return 4;
        if (r != 0) return -1;
    }
    return 0;
}

int32_t hinb_file_name_set(VbString* name_file, VbString* list_file, VbString* popup_file) {
    char path[pxall::kPathSize];
    int32_t result = 0;
    const char* names[2] = {kNameFile, kListFile};
    VbString* outs[2] = {name_file, list_file};
    for (int i = 0; i < 2; ++i) {
        if (!file_path(names[i], path)) {
            log(kModule, "hinb_file_name_set", "get_path_name", -1, 0, 3 + i);
            result = 0x0000FFFF;
            continue;
        }
        put_string(outs[i], path);
    }
    if (!file_path(pxall::kPopupFileName, path)) {
        log(kModule, "hinb_file_name_set", "get_path_name", -1, 0, 5);
        return -1;
    }
    put_string(popup_file, path);
    return result;
}

int32_t hinb_term(int16_t* mode) {
    State& s = st();
    std::free(s.name_buf);
    s.name_buf = nullptr;
    s.have_input = false;
    pxall::cdclose(&s.shamei, nullptr);
    pxall::cdclose(&s.hinban, nullptr);
    close_tmp(&s.tmp0, "hinb_close_tmp0", 6);
    close_tmp(&s.tmp1, "hinb_close_tmp1", 7);
    int r = close_tmp(&s.tmp2, "hinb_close_tmp2", 8);
    if (s.csv != nullptr) {
        std::fclose(s.csv);
        s.csv = nullptr;
    }
    delete_tmp(kNameFile, "hinb_del_tmp0", 9);
    delete_tmp(kListFile, "hinb_del_tmp1", 10);
    delete_tmp(kWorkFile, "hinb_del_tmp2", 11);
    if (mode != nullptr && *mode == 1) {
        free_cattbl();
        s.cd_count = 0;
    }
    return r;
}

int32_t hinb_term2() {
    State& s = st();
    s.have_input = false;
    int r = close_tmp(&s.tmp0, "hinb_close_tmp0", 12);
    if (r == 0) delete_tmp(kNameFile, "hinb_del_tmp0", 13);
    return r;
}

}  // extern "C"
