// Start and end of the screen, its CD table and the CD pop-up file.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/cd_popup.h"
#include "pxall/cdrom.h"
#include "pxall/errlog.h"
#include "pxall/hinban.h"
#include "pxall/part_records.h"
#include "pxall/texts.h"
#include "teki/teki.h"
#include "teki/teki_layout.h"
#include "teki_state.h"

namespace teki {

State& st() {
    static State s;
    return s;
}

void log(const char* function, const char* step, int code, int second, int place) {
    pxall::syerr_message(kModule, function, step, code, second, place);
}

void free_cattbl() {
    std::free(st().cattbl);
    st().cattbl = nullptr;
    st().cat_count = 0;
}

bool file_path(const char* name, char* path, int kind) {
    std::memset(path, 0, pxall::kPathSize);
    std::strncpy(path, name, pxall::kPathSize - 1);
    return pxall::get_path_name(kind, -1, path) == 0;
}

void delete_work_files() {
    for (int i = 0; i < kMaxEntries; ++i) {
        char name[24], path[pxall::kPathSize];
        std::snprintf(name, sizeof name, kWorkFileFormat, i);
        if (file_path(name, path)) plat::delete_file(path);
    }
}

void hinmei_name(char* name, int size) {
    const unsigned char* top = pxall::get_ctop_addr();
    char code[3] = {'0', '1', 0};
    if (top != nullptr) std::memcpy(code, top + pxall::ctop::kDataLangCode, 2);
    std::snprintf(name, static_cast<size_t>(size), pxall::kHinmeiFormat, code);
}

namespace {

void put_string(VbString* s, const char* text) {
    if (s == nullptr || s->data == nullptr || s->len < 1) return;
    size_t n = std::strlen(text), len = static_cast<size_t>(s->len);
    std::memset(s->data, 0, len);
    std::memcpy(s->data, text, n < len ? n : len);
}

}  // namespace

}  // namespace teki

using namespace teki;

extern "C" {

int32_t VBTekiInit(int16_t* status) {
    State& s = st();
    if (status != nullptr) *status = 0;
    std::memset(s.entries, 0, sizeof s.entries);
    s.entry_count = 0;
    std::memset(s.cd_table, 0, sizeof s.cd_table);
    s.cd_count = 0;
    // The common library lists up to 30 CDs; the table keeps the first 11.
    int32_t list[pxall::ctop::kMaxSetup] = {};
    int32_t count = 0;
    int detail = 0;
    int r = pxall::cdmake_cdidtbl_alldrive(list, &count, &detail);
    if (r != 0) {
        log("VBTekiInit", "cdmake_cdidtbl_alldrive", r, detail, 1);
        return r;
    }
    if (count < 0) count = 0;
    s.cd_count = count > kCdTableSize ? kCdTableSize : count;
    std::memcpy(s.cd_table, list, sizeof(int32_t) * static_cast<size_t>(s.cd_count));
    if (s.cd_count == 0 && status != nullptr) *status = 1;
    return 0;
}

int32_t VBTekiTerm() {
    free_cattbl();
    delete_work_files();
    char path[pxall::kPathSize];
    if (!file_path(kScreenFile, path)) return -1;
    return plat::delete_file(path) ? 0 : -1;
}

int32_t VBTekiPopupSetNum(int16_t* count) {
    if (count == nullptr || *count < 0 || *count > kCdTableSize) {
        log("VBTekiPopupSetNum", "count", 128, count == nullptr ? 0 : *count, 2);
        return 128;
    }
    st().cd_count = *count;
    return 0;
}

int32_t VBTekiPopupSetSel(int16_t* setup_index, int16_t* slot) {
    if (setup_index == nullptr || slot == nullptr || *slot < 0 || *slot >= kCdTableSize) {
        log("VBTekiPopupSetSel", "slot", 128, slot == nullptr ? 0 : *slot, 3);
        return 128;
    }
    st().cd_table[*slot] = *setup_index;
    return 0;
}

int32_t VBTekiPopup(VbString* out) {
    const unsigned char* top = pxall::get_ctop_addr();
    char letter = 0;
    if (top == nullptr || pxall::GetAreaChar(pxall::get_i32(top + pxall::ctop::kAreaIndex), &letter) != 0) {
        log("VBTekiPopup", "GetAreaChar", 128, 0, 4);
        return 128;
    }
    char path[pxall::kPathSize];
    if (!file_path(pxall::kPopupFileName, path)) {
        log("VBTekiPopup", "get_path_name", -1, 0, 5);
        return -1;
    }
    auto* recs = static_cast<unsigned char*>(std::malloc(pxall::kPopupMaxRecords * pxall::popup_rec::kSize));
    if (recs == nullptr) {
        log("VBTekiPopup", "malloc", 20, 0, 6);
        return 20;
    }
    const char* present = pxall::get_scr_text(pxall::kPopupPresentText);
    int32_t count = 0;
    int detail = 0;
    int r = pxall::cd_popup_records(letter, present != nullptr ? present : "", recs, &count, &detail);
    if (r != 0) {
        log("VBTekiPopup", "cdmake_cdidtbl_alldrive", r, detail, 7);
        std::free(recs);
        return r;
    }
    if (count == 0) {
        log("VBTekiPopup", "Not Setup", 128, 0, 8);
        std::free(recs);
        return 128;
    }
    std::FILE* f = plat::fopen(path, "w+b");
    if (f == nullptr) {
        log("VBTekiPopup", "fopen", 11, errno, 9);
        std::free(recs);
        return 11;
    }
    for (int32_t i = 0; i < count && r == 0; ++i) {
        if (std::fseek(f, static_cast<long>(i) * static_cast<long>(pxall::popup_rec::kSize), SEEK_SET) != 0) {
            log("VBTekiPopup", "fseek", 15, errno, 10);
            r = 15;
        } else if (std::fwrite(recs + static_cast<size_t>(i) * pxall::popup_rec::kSize, 1, pxall::popup_rec::kSize,
                               f) != pxall::popup_rec::kSize) {
            log("VBTekiPopup", "fwrite", 13, errno, 11);
            r = 13;
        }
    }
    if (std::fclose(f) != 0 && r == 0) {
        log("VBTekiPopup", "fwrite", 13, errno, 12);
        r = 13;
    }
    std::free(recs);
    if (r == 0) put_string(out, path);
    return r;
}

}  // extern "C"
