// The index's page table and the making of one page: its two pictures with
// their hot spots, the links between them and the page's figure list.
#include <cstring>
#include <string>

#include "emok/emok.h"
#include "emok_internal.h"
#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/image.h"
#include "pxall/keyed_file.h"
#include "pxall/listbox.h"
#include "pxall/selection.h"

using namespace pxemok;

namespace {

namespace em = pxall::eminde;
namespace img = pxall::image;

constexpr int kFlags = 4;
constexpr const char* kWorkNames[kWorkFiles] = {kDetailImage, kOverallImage, kDetailBitmap, kOverallBitmap,
                                                fnls::kFileName};

bool blank(unsigned char c) { return c <= ' '; }

void clear_page_data(State& s) {
    s.detail.clear();
    s.overall.clear();
    s.links.clear();
}

// Reads the index records of the chosen figure groups into the page table
// (emok_make_emindex_tmp): 0 with the page count, 4 CD missing (not
// logged), or the logged code.
int32_t read_pages(State& s, const unsigned char* flags) {
    constexpr const char* kFn = "emok_make_emindex_tmp";
    char cat[7] = {};
    vehicle_catalog(cat);
    pxall::CdHandle* h = nullptr;
    int detail = 0;
    int r = pxall::cdopen(em::kFileName, cat, 1, 0, -1, vehicle_setup(), 0, &h, &detail);
    if (r == 4) return 4;
    if (r != 0) return fail_logged(kModPages, kFn, "cdopen", r, detail, 1);
    struct Closer {
        pxall::CdHandle** h;
        ~Closer() {
            int d = 0;
            pxall::cdclose(h, &d);
        }
    } closer{&h};

    int count = 0;
    // The first page started after the last overall record: the one the
    // next overall record belongs to.
    int owner = 0;
    uint8_t rec[em::kSize];
    for (int f = 0; f < kFlags; ++f) {
        if (blank(flags[f])) continue;
        const char key[em::kKeySize] = {'0', '0', static_cast<char>(flags[f]), '0'};
        pxall::cdreopen(h, &detail);
        while ((r = pxall::cdread(rec, key, em::kKeySize, 0, nullptr, nullptr, h, &detail)) == 0) {
            if (rec[em::kKind] == static_cast<uint8_t>(em::kKindDetail)) {
                if (count == kMaxPages) return fail_logged(kModPages, kFn, "scnt over", 21, count, 2);
                Page& p = s.pages[count++];
                std::memcpy(p.detail, rec, em::kSize);
                p.has_overall = false;
            } else if (owner < count) {
                // An overall record attaches to a page already held, so
                // the 180th page may have one too.
                Page& p = s.pages[owner];
                std::memcpy(p.overall, rec, em::kSize);
                p.has_overall = true;
                owner = count;
            }
        }
        if (r == 4) return 4;
        if (r != -1) return fail_logged(kModPages, kFn, "cdread", r, detail, 3);
    }
    s.page_count = static_cast<int16_t>(count);
    return 0;
}

// Copies one picture of a page out of the catalogue, decodes its bitmap and
// reads its hot spots (scaled): 0, 4 CD missing (not logged), or the logged
// code.
int32_t make_picture(const uint8_t* rec, const char* image_path, const char* bitmap_path, uint8_t* desc,
                     HotSpots* spots) {
    constexpr const char* kFn = "VBEmokGetPageData";
    char locator[img::kLocatorSize + 1] = {};
    std::memcpy(locator, rec + em::kImage, em::kImageSize);
    int detail = 0;
    int r = pxall::make_pack_image_file(image_path, locator, &detail);
    if (r == 4) return 4;
    if (r != 0) return fail_logged(kModEntries, kFn, "make_pack_image_file", r, detail, 11);
    std::memset(desc, 0, 36);
    r = pxall::decord_img(image_path, bitmap_path, desc);
    if (r != 0) return fail_logged(kModEntries, kFn, "decord_img", r, 0, 12);
    const int32_t text_len = pxall::get_i32(desc + img::kHdTextLength);
    const int32_t coded_len = pxall::get_i32(desc + img::kHdCodedLength);
    // Room for every entry decord_text fills (a partial record counts) and
    // the end entry after them.
    const int32_t entries = img::text_entries(text_len);
    if (!spots->reset(entries)) return fail_logged(kModEntries, kFn, "malloc", 20, entries, 13);
    r = pxall::decord_text(image_path, spots->data(), text_len, coded_len, entries);
    if (r != 0) return fail_logged(kModEntries, kFn, "decord_text", r, 0, 14);
    spots->scale();
    return 0;
}

}  // namespace

extern "C" int32_t VBEmokInit(int16_t* count, int16_t* status) {
    int16_t dummy_count = 0, dummy_status = 0;
    if (count == nullptr) count = &dummy_count;
    if (status == nullptr) status = &dummy_status;
    *status = 0;
    State& s = state();
    if (s.open) {
        *count = s.page_count;
        return 0;
    }
    std::memset(s.detail_desc, 0, sizeof s.detail_desc);
    std::memset(s.overall_desc, 0, sizeof s.overall_desc);
    clear_page_data(s);
    s.page_count = 0;
    pxall::term_selfgn();

    const unsigned char* blk = pxall::get_cnexta_addr();
    if (blk == nullptr) return fail_logged(kModEntries, "VBEmokInit", "get_cnexta_addr", 128, 0, 21);
    const unsigned char* flags = blk + pxall::cnexta::kFigureFlags;
    if (blank(flags[0]) && blank(flags[1]) && blank(flags[2]) && blank(flags[3]))
        return fail_logged(kModEntries, "VBEmokInit", "figgrp", 128, 0, 22);

    int32_t r = read_pages(s, flags);
    if (r == 4) {
        s.page_count = 0;
        *status = kCdMissing;
        return 0;
    }
    if (r != 0) {
        s.page_count = 0;
        return r;
    }
    *count = s.page_count;
    // Groups without index pages: nothing to show, and nothing kept open.
    if (s.page_count == 0) return 0;
    for (int i = 0; i < kWorkFiles; ++i) {
        std::memset(s.paths[i], 0, sizeof s.paths[i]);
        std::strncpy(s.paths[i], kWorkNames[i], sizeof s.paths[i] - 1);
        if (int p = pxall::get_path_name(pxall::kPathWork, -1, s.paths[i]); p != 0) {
            s.page_count = 0;
            *count = 0;
            return fail_logged(kModEntries, "VBEmokInit", "get_path_name", p, i, 23);
        }
    }
    s.open = true;
    return 0;
}

extern "C" int32_t VBEmokTerm() {
    State& s = state();
    pxall::term_selfgn();
    clear_page_data(s);
    s.page_count = 0;
    if (s.open)
        for (const auto& p : s.paths) plat::delete_file(p);
    s.open = false;
    return 0;
}

extern "C" int32_t VBEmokClear(int32_t list) {
    State& s = state();
    VBAllResetListBox(list);
    VBclear_figno();
    for (HotSpots* t : {&s.detail, &s.overall})
        for (int32_t i = 0; i < t->capacity(); ++i) t->at(i)[spot::kInverted] = 0;
    return 0;
}

extern "C" int32_t VBEmokGetPageData(int16_t n, VbString* detail_bmp, VbString* overall_bmp, VbString* figure_list,
                                     int16_t* last, int16_t* status) {
    int16_t dummy_last = 0, dummy_status = 0;
    if (last == nullptr) last = &dummy_last;
    if (status == nullptr) status = &dummy_status;
    *last = 0;
    *status = 0;
    State& s = state();
    if (n < 1) {
        *status = 1;
        return 0;
    }
    if (n > s.page_count) {
        *last = 1;
        *status = 2;
        return 0;
    }
    const Page& page = s.pages[n - 1];
    // A page without its own overall picture shows that of the nearest
    // earlier page that has one.
    const Page* whole = nullptr;
    for (int i = n - 1; i >= 0 && whole == nullptr; --i)
        if (s.pages[i].has_overall) whole = &s.pages[i];

    clear_page_data(s);
    int32_t r = make_picture(page.detail, s.paths[kDatS], s.paths[kImgS], s.detail_desc, &s.detail);
    if (r == 0) r = make_links(s);
    if (r == 0) r = make_figure_list(s, n);
    if (r == 0 && whole != nullptr)
        r = make_picture(whole->overall, s.paths[kDatZ], s.paths[kImgZ], s.overall_desc, &s.overall);
    if (r == 4) {
        clear_page_data(s);
        *status = kCdMissing;
        return 0;
    }
    if (r != 0) {
        clear_page_data(s);
        return r;
    }
    if (n == s.page_count) *last = 1;
    give_string(detail_bmp, s.paths[kImgS], std::strlen(s.paths[kImgS]));
    // Without any overall record there is no overall bitmap to show.
    if (whole != nullptr)
        give_string(overall_bmp, s.paths[kImgZ], std::strlen(s.paths[kImgZ]));
    else
        give_string(overall_bmp, "", 0);
    give_string(figure_list, s.paths[kFnls], std::strlen(s.paths[kFnls]));
    return 0;
}
