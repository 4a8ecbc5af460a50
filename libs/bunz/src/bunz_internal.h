// Pieces shared by the illustration library's sources: the library's state
// between calls (the page lists, the text placements and reference list of
// the page in hand, the work-file paths) and the steps the entries share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "bunz/bunz_layout.h"
#include "pxall/blocks.h"
#include "pxall/image_layout.h"
#include "pxall/itemlist.h"
#include "pxall/paths.h"
#include "pxall/vbstring.h"

namespace pxbunz {

constexpr const char* kModEntries = "PXBUNZ01";
constexpr const char* kModFigure = "PXBUNZ02";
constexpr const char* kModText = "PXBSUB01";
constexpr const char* kModIndex = "PXBSUB02";
constexpr const char* kModList = "PXBSUB03";
constexpr const char* kModPick = "PXBSUB04";

constexpr int kBadState = 128;
constexpr int kNoMemory = 20;

constexpr int16_t kStNoPage = 1;
constexpr int16_t kStNoCd = 4;
constexpr int16_t kStTooLarge = 5;
constexpr int16_t kStNoNext = 11;
constexpr int16_t kStNoPrev = 12;

// The pages of one figure and the page in hand (null: none).
struct Pages {
    pxall::ItemList list{};
    pxall::ItemLinks* current = nullptr;
};

// A page of a list: links, then the page record.
inline unsigned char* page_record(pxall::ItemLinks* item) { return pxall::item_data(item); }
constexpr int kPageItemSize = static_cast<int>(pxall::kItemDataOffset + page::kSize);

// A distinct reference code of the page in hand.
struct RefItem {
    pxall::ItemLinks links;
    uint16_t kind;    // attribute byte of its first placement
    char code[12];
    int16_t line;     // its first line in the reference-number list
};

// Text placements of the page in hand: `count` 36-byte entries halved (the
// page shown whole), then `count` as stored.
struct Placements {
    uint8_t* table = nullptr;
    int32_t count = 0;
    const uint8_t* halved() const { return table; }
    const uint8_t* stored() const { return table == nullptr ? nullptr : table + static_cast<size_t>(count) * pxall::image::kTextEntrySize; }
};

struct State {
    Pages main;
    Pages sub;
    Placements text;
    pxall::ItemList refs{};
    char image_path[pxall::kPathSize] = {};
    char bitmap_path[pxall::kPathSize] = {};
    char list_path[pxall::kPathSize] = {};
    char name_path[pxall::kPathSize] = {};
};

State& state();

// The figure states of the image block; null without a shared area.
inline unsigned char* main_fig() {
    unsigned char* b = pxall::get_cimg_addr();
    return b == nullptr ? nullptr : b + img::kMain;
}
inline unsigned char* sub_fig() {
    unsigned char* b = pxall::get_cimg_addr();
    return b == nullptr ? nullptr : b + img::kSub;
}
inline bool sub_open() {
    const unsigned char* s = sub_fig();
    return s != nullptr && s[0] != 0;
}

// n bytes into the caller's string, at most its length.
inline void to_caller(VbString* s, const void* bytes, size_t n) {
    if (s == nullptr || s->data == nullptr || s->len <= 0) return;
    std::memcpy(s->data, bytes, n < static_cast<size_t>(s->len) ? n : static_cast<size_t>(s->len));
}
// A path into the caller's string: at most its length, NUL-padded.
void path_to_caller(VbString* s, const char* path);

// --- Pages (bunz_pages.cpp) --------------------------------------------------
// Builds the page list of a figure state (its number and match flag in
// place): name and page count into the state. 0 with *status 0, 1 (no page)
// or 4 (no CD); else the failing code, the list left empty.
int MakeFigTmpFile(Pages* pages, unsigned char* fig_state, int16_t* status);
// Appends the pages of a figure that fit (match 0) or all of them (match 1).
// 0 with *count, -1 when none was kept, or the failing code (logged).
int bun_make_buindex_tmp(pxall::ItemList* list, const char* figure, int16_t match, int32_t* count);
// 0 when the page's bits share one with the vehicle's, -1 when they do not,
// 128 when the vehicle has no bit at all.
int check_tekiyou(const unsigned char* vehicle_bits, const unsigned char* page_bits);
// True when the page's production period, with two months of grace after its
// end, holds the vehicle's production date ("YYYYMM"; empty: every page).
bool bun_check_date(const char* vehicle_date, const char* from, const char* to);
// Frees a page list and forgets its current page.
void free_pages(Pages* pages);

// --- Paging (bunz_entries.cpp) -----------------------------------------------
// 1 when the page in hand is the last that moving forward reaches.
int16_t bun_is_last_page(bool sub_mode);
// Closes the sub-illustration: state zeroed, its pages, the placements and
// the reference list freed.
void close_sub();

// --- The page in hand (bunz_page_info.cpp) -----------------------------------
void bun_free_text();
// A placement's code names a reference (a blank or zero one does not).
inline bool has_reference(const char* code) { return static_cast<unsigned char>(code[0]) > ' '; }
// The reference entry of a 12-character code, or null.
RefItem* find_ref(const char* code);
int bun_text_conv(const uint8_t* info);
int bun_GetPNCfromTEXTD();
int bun_make_pnc_file(unsigned char* fig_state, int16_t* status);

}  // namespace pxbunz
