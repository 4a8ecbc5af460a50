// The pages of a figure: its name, and the page index read for the current
// vehicle (production date and applicability bits), with repeated pages left
// out.
#include <cstring>

#include "bunz_internal.h"
#include "pxall/buinde_layout.h"
#include "pxall/cdrom.h"
#include "pxall/dates.h"
#include "pxall/errlog.h"
#include "pxall/keyed_file.h"
#include "pxall/part_records.h"
#include "pxall/strutil.h"

namespace pxbunz {

namespace {

namespace bi = pxall::buinde;

// Error-log places.
constexpr int kAtFigmei = 2010;
constexpr int kAtPageCount = 2020;
constexpr int kAtIndex = 2030;
constexpr int kAtParameter = 2110;
constexpr int kAtOpen = 2120;
constexpr int kAtRead = 2130;
constexpr int kAtTekiyou = 2140;
constexpr int kAtAddItem = 2150;

constexpr int kMonthsOfGrace = 2;

// The page kept last, against which a page is a repeat.
struct LastPage {
    char key[bi::kPageKeySize];
    char title[bi::kTitleSize];
    char continuation[bi::kContinuationSize];
    LastPage() {
        std::memset(key, ' ', sizeof key);
        std::memset(title, ' ', sizeof title);
        std::memset(continuation, ' ', sizeof continuation);
    }
};

bool same_page(const LastPage& last, const unsigned char* rec) {
    return std::memcmp(rec + bi::kTitle, last.title, bi::kTitleSize) == 0 &&
           std::memcmp(rec + bi::kPageKey, last.key, bi::kPageKeySize) == 0;
}

// check_ilustnm: a page record (kind '0', no continuation) or a kind-'1'
// record with its continuation block repeats the page kept last.
bool check_ilustnm(const LastPage& last, const unsigned char* rec, const unsigned char* continuation) {
    if (continuation == nullptr)
        return pxall::memall(last.continuation, ' ', bi::kContinuationSize) == 1 && same_page(last, rec);
    return same_page(last, rec) && std::memcmp(continuation, last.continuation, bi::kContinuationSize) == 0;
}

// Appends the page of an index record; continuation null: a blank block.
bool keep_page(pxall::ItemList* list, const unsigned char* rec, const unsigned char* continuation, LastPage* last) {
    void* item = pxall::AddItem(list, kPageItemSize);
    if (item == nullptr) return false;
    unsigned char* p = page_record(static_cast<pxall::ItemLinks*>(item));
    std::memcpy(p + page::kTitle, rec + bi::kTitle, page::kTitleSize);
    if (continuation != nullptr) {
        std::memcpy(p + page::kContinuation, continuation, page::kContinuationSize);
        std::memcpy(last->continuation, continuation, bi::kContinuationSize);
    } else {
        std::memset(p + page::kContinuation, ' ', page::kContinuationSize);
    }
    std::memcpy(p + page::kImage, rec + bi::kImage, page::kImageSize);
    std::memcpy(last->title, rec + bi::kTitle, bi::kTitleSize);
    std::memcpy(last->key, rec + bi::kPageKey, bi::kPageKeySize);
    return true;
}

}  // namespace

void free_pages(Pages* pages) {
    pxall::AllDeleteItem(&pages->list);
    pages->current = nullptr;
}

bool bun_check_date(const char* vehicle_date, const char* from, const char* to) {
    if (static_cast<unsigned char>(vehicle_date[0]) <= ' ') return true;
    // The vehicle keeps year of four and month; the months count from YYMM.
    const char yymm[4] = {vehicle_date[2], vehicle_date[3], vehicle_date[4], vehicle_date[5]};
    int32_t v = pxall::ad2i(yymm);
    int32_t f = pxall::ad2i(from);
    int32_t t = pxall::ad2i(to);
    if (t != 0) t += kMonthsOfGrace;
    return f <= v && (t == 0 || v <= t);
}

int check_tekiyou(const unsigned char* vehicle_bits, const unsigned char* page_bits) {
    bool any = false;
    for (size_t i = 0; i < bi::kBitsSize; ++i) {
        if (vehicle_bits[i] == 0) continue;
        any = true;
        if ((vehicle_bits[i] & page_bits[i]) != 0) return 0;
    }
    return any ? -1 : kBadState;
}

int bun_make_buindex_tmp(pxall::ItemList* list, const char* figure, int16_t match, int32_t* count) {
    *count = 0;
    const unsigned char* car = pxall::get_ccar_addr();
    if (figure == nullptr || figure[0] == 0 || car == nullptr) {
        pxall::syerr_message(kModIndex, "bun_make_buindex_tmp", "Parameter Error", kBadState, 0, kAtParameter);
        return kBadState;
    }
    char catalog[pxall::kCatalogSize + 1] = {};
    std::memcpy(catalog, car + pxall::ccar::kCatalog, pxall::kCatalogSize);
    int detail = 0;
    pxall::CdHandle* h = nullptr;
    int r = pxall::cdopen(bi::kFileName, catalog, bi::kKeySet, 0, -1, pxall::get_i32(car + pxall::ccar::kSetupIndex),
                          0, &h, &detail);
    if (r == 4) return r;
    if (r != 0) {
        pxall::syerr_message(kModIndex, "bun_make_buindex_tmp", "cdopen", r, detail, kAtOpen);
        return r;
    }

    LastPage last;
    // A record is as long as the master file says, at most a block.
    unsigned char rec[pxall::keyed::kBlockSize] = {};
    unsigned char pending[bi::kSize];
    bool have_pending = false;
    int result = 0;
    while ((r = pxall::cdread(rec, figure, static_cast<int>(bi::kFigureSize), 0, nullptr, nullptr, h, &detail)) == 0) {
        char kind = static_cast<char>(rec[bi::kKind]);
        if (kind == bi::kKindPage || kind == bi::kKindContinued) {
            have_pending = false;
            if (match == 0) {
                if (!bun_check_date(reinterpret_cast<const char*>(car + pxall::ccar::kProdDate),
                                    reinterpret_cast<const char*>(rec + bi::kFrom),
                                    reinterpret_cast<const char*>(rec + bi::kTo)))
                    continue;
                int t = check_tekiyou(car + pxall::ccar::kApplicability, rec + bi::kBits);
                if (t == kBadState) {
                    pxall::syerr_message(kModIndex, "bun_make_buindex_tmp", "check_tekiyou", t, 0, kAtTekiyou);
                    result = t;
                    break;
                }
                if (t != 0) continue;
            }
            if (kind == bi::kKindContinued) {
                std::memcpy(pending, rec, sizeof pending);
                have_pending = true;
                continue;
            }
            if (check_ilustnm(last, rec, nullptr)) continue;
            if (!keep_page(list, rec, nullptr, &last)) {
                result = kNoMemory;
                break;
            }
            ++*count;
        } else if (kind == bi::kKindContinuation && have_pending) {
            have_pending = false;
            const unsigned char* block = rec + bi::kContinuation;
            if (check_ilustnm(last, pending, block)) continue;
            if (!keep_page(list, pending, block, &last)) {
                result = kNoMemory;
                break;
            }
            ++*count;
        }
    }
    if (result == kNoMemory) {
        pxall::syerr_message(kModIndex, "bun_make_buindex_tmp", "AddItem", kNoMemory, 0, kAtAddItem);
    } else if (result == 0 && r != -1) {
        // A read that fails after pages were kept fails the build; before
        // any, the figure has no page (the log keeps the failure).
        pxall::syerr_message(kModIndex, "bun_make_buindex_tmp", "cdread", r, detail, kAtRead);
        if (*count > 0) result = r;
    }
    pxall::cdclose(&h, &detail);
    if (result != 0) return result;
    return *count == 0 ? -1 : 0;
}

int MakeFigTmpFile(Pages* pages, unsigned char* fig_state, int16_t* status) {
    free_pages(pages);
    char name[fig::kNameSize];
    int detail = 0;
    int r = pxall::get_figmei(reinterpret_cast<const char*>(fig_state + fig::kFigure), name, &detail);
    if (r == 4) {
        *status = kStNoCd;
        return 0;
    }
    if (r == -1) {
        std::memset(name, ' ', sizeof name);
    } else if (r != 0) {
        pxall::syerr_message(kModFigure, "MakeFigTmpFile", "get_figmei", r, detail, kAtFigmei);
        return r;
    }
    std::memcpy(fig_state + fig::kName, name, fig::kNameSize);
    fig_state[fig::kNameEnd] = 0;

    int32_t count = 0;
    r = bun_make_buindex_tmp(&pages->list, reinterpret_cast<const char*>(fig_state + fig::kFigure),
                             pxall::get_i16(fig_state + fig::kMatch), &count);
    pxall::put_i16(fig_state + fig::kPageCount, static_cast<int16_t>(count));
    if (r == 4) {
        free_pages(pages);
        *status = kStNoCd;
        return 0;
    }
    if (r != 0 && r != -1) {
        free_pages(pages);
        pxall::put_i16(fig_state + fig::kPageCount, 0);
        pxall::syerr_message(kModFigure, "MakeFigTmpFile", "bun_make_buindex_tmp", r, 0, kAtIndex);
        return r;
    }
    if (count < 0) {
        free_pages(pages);
        pxall::syerr_message(kModFigure, "MakeFigTmpFile", "pagesu Error", kBadState, 0, kAtPageCount);
        return kBadState;
    }
    if (count == 0) *status = kStNoPage;
    return 0;
}

}  // namespace pxbunz
