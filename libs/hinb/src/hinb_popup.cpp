// The CD pop-up file and the catalogue table of the chosen CDs.
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "hinb/hinb.h"
#include "hinb_state.h"
#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/cd_popup.h"
#include "pxall/cdrom.h"
#include "pxall/part_records.h"
#include "pxall/texts.h"

namespace hinb {

namespace {

constexpr const char* kPopupModule = "PXHINB05";
constexpr const char* kCatModule = "PXHINB03";

bool in_cd_table(int32_t index) {
    const State& s = st();
    for (int i = 0; i < s.cd_count && i < kCdTableSize; ++i)
        if (s.cd_table[i] == index) return true;
    return false;
}

int write_popup(const unsigned char* recs, int32_t count) {
    char path[pxall::kPathSize];
    if (!file_path(pxall::kPopupFileName, path)) {
        log(kPopupModule, "hinb_popup_write_tmp3", pxall::kPopupFileName, 11, 0, 1);
        return kFailed;
    }
    std::FILE* f = plat::fopen(path, "wb");
    if (f == nullptr) {
        log(kPopupModule, "hinb_popup_write_tmp3", path, 11, errno, 2);
        return kFailed;
    }
    for (int32_t i = 0; i < count; ++i) {
        if (std::fseek(f, static_cast<long>(i) * static_cast<long>(pxall::popup_rec::kSize), SEEK_SET) != 0) {
            log(kPopupModule, "hinb_popup_write_tmp3", "fseek", 15, errno, 3);
            std::fclose(f);
            return kFailed;
        }
        if (std::fwrite(recs + static_cast<size_t>(i) * pxall::popup_rec::kSize, 1, pxall::popup_rec::kSize, f) !=
            pxall::popup_rec::kSize) {
            log(kPopupModule, "hinb_popup_write_tmp3", pxall::kPopupFileName, 13, errno, 4);
            std::fclose(f);
            return kFailed;
        }
    }
    if (std::fclose(f) != 0) {
        log(kPopupModule, "hinb_popup_write_tmp3", pxall::kPopupFileName, 13, errno, 5);
        return kFailed;
    }
    return 0;
}

}  // namespace

int make_cattbl(int32_t setup_index) {
    State& s = st();
    free_cattbl();
    int detail = 0;
    pxall::cdclose(&s.shamei, nullptr);
    int r = pxall::cdopen("SHAMEI.DAT", "", 1, 0, -1, setup_index, 0, &s.shamei, &detail);
    if (r == 4) return 4;
    if (r != 0) {
        log(kCatModule, "hinb_pn_make_cattbl", "cdopen", r, detail, 1);
        return kFailed;
    }
    // The entry is within the table: the open found its data set.
    const unsigned char* entry = pxall::setup_entry_addr(setup_index);
    const char area = static_cast<char>(entry[pxall::setup_entry::kName]);
    unsigned char rec[pxall::keyed::kBlockSize];
    namespace sr = pxall::shamei_rec;
    while ((r = pxall::cdread(rec, nullptr, 0, 0, nullptr, nullptr, s.shamei, &detail)) == 0) {
        char cd_no[3] = {static_cast<char>(rec[sr::kCdNo]), static_cast<char>(rec[sr::kCdNo + 1]), 0};
        int32_t index = pxall::setuped_cdno2_to_cdno1(area, nullptr, cd_no);
        if (index < 0 || !in_cd_table(index)) continue;
        auto* grown = static_cast<unsigned char*>(
            std::realloc(s.cattbl, static_cast<size_t>(s.cat_count + 1) * kCatEntrySize));
        if (grown == nullptr) {
            log(kCatModule, "hinb_pn_make_cattbl", "realloc", 20, 0, 2);
            pxall::cdclose(&s.shamei, nullptr);
            free_cattbl();
            return kFailed;
        }
        s.cattbl = grown;
        unsigned char* e = s.cattbl + static_cast<size_t>(s.cat_count) * kCatEntrySize;
        pxall::put_i32(e, index);
        std::memcpy(e + 4, rec + sr::kCatalog, pxall::kCatalogSize);
        std::memcpy(e + 10, rec + sr::kCarName, sr::kCarNameSize);
        s.cat_count++;
    }
    pxall::cdclose(&s.shamei, nullptr);
    if (r != -1) {
        log(kCatModule, "hinb_pn_make_cattbl", "cdread", r, detail, 3);
        free_cattbl();
        return kFailed;
    }
    if (s.cat_count == 0) {
        log(kCatModule, "hinb_pn_make_cattbl", "SHAMEI.D NO DATA", kFailed, 0, 4);
        return kFailed;
    }
    // Entries sort as 30-byte strings.
    std::vector<unsigned char> sorted(s.cattbl, s.cattbl + static_cast<size_t>(s.cat_count) * kCatEntrySize);
    std::vector<int32_t> order(static_cast<size_t>(s.cat_count));
    for (int32_t i = 0; i < s.cat_count; ++i) order[static_cast<size_t>(i)] = i;
    std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
        return std::memcmp(&sorted[static_cast<size_t>(a) * kCatEntrySize], &sorted[static_cast<size_t>(b) * kCatEntrySize],
                           kCatEntrySize) < 0;
    });
    for (int32_t i = 0; i < s.cat_count; ++i)
        std::memcpy(s.cattbl + static_cast<size_t>(i) * kCatEntrySize,
                    &sorted[static_cast<size_t>(order[static_cast<size_t>(i)]) * kCatEntrySize], kCatEntrySize);
    return 0;
}

int popup_make_data() {
    char letter = area_letter();
    auto* recs = static_cast<unsigned char*>(std::malloc(pxall::kPopupMaxRecords * pxall::popup_rec::kSize));
    if (recs == nullptr) {
        log(kPopupModule, "hinb_popup_make_data", "malloc", 20, 0, 6);
        return kFailed;
    }
    int32_t count = 0;
    if (letter != 0) {
        const char* present = pxall::get_scr_text(pxall::kPopupPresentText);
        int detail = 0;
        int r = pxall::cd_popup_records(letter, present != nullptr ? present : "", recs, &count, &detail);
        if (r != 0) {
            log(kPopupModule, "hinb_popup_make_data", "cdmake_cdidtbl_alldrive", r, detail, 7);
            std::free(recs);
            return kFailed;
        }
    }
    int r = write_popup(recs, count);
    std::free(recs);
    return r;
}

}  // namespace hinb

using namespace hinb;

extern "C" {

int32_t hinb_popup(int16_t* msg, int16_t* kind) {
    if (msg != nullptr) *msg = 140;
    if (kind != nullptr) *kind = 1;
    return popup_make_data() == 0 ? 0 : -1;
}

int32_t hinb_popup_make_data() { return popup_make_data(); }

}  // extern "C"
