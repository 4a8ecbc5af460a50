// The page in hand: its image copied and decoded into the bitmap, its text
// placements and distinct reference codes, and the two list files of the
// reference codes with their part names.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bunz/bunz.h"
#include "bunz_internal.h"
#include "platform/files.h"
#include "pxall/errlog.h"
#include "pxall/image.h"
#include "pxall/keyed_file.h"
#include "pxall/part_records.h"
#include "pxall/text_cut.h"
#include "pxall/texts.h"
#include "pxall/wrap.h"

namespace pxbunz {

namespace {

namespace im = pxall::image;

constexpr int kAtPack = 3010;
constexpr int kAtDecode = 3020;
constexpr int kAtTextConv = 3030;
constexpr int kAtListFiles = 3040;
constexpr int kAtMalloc = 3110;
constexpr int kAtDecordText = 3120;
constexpr int kAtGetPnc = 3130;
constexpr int kAtAddItem = 3140;
constexpr int kAtParameter = 3210;
constexpr int kAtOpen = 3220;
constexpr int kAtFopen = 3230;
constexpr int kAtRead = 3240;
constexpr int kAtFwrite = 3250;
constexpr int kAtFputs = 3260;
constexpr int kAtClose = 3270;

constexpr int kHinmKeySet = 7;

// The files bun_make_pnc_file holds, closed on every path.
struct ListFiles {
    pxall::CdHandle* names = nullptr;
    std::FILE* lines = nullptr;
    std::FILE* records = nullptr;
    int detail = 0;

    // Closing flushes: a close that fails lost written data (13).
    int close(const char** step, int* err) {
        int r = 0;
        if (lines != nullptr && std::fclose(lines) != 0 && r == 0) {
            r = 13;
            *step = "fputs";
            *err = errno;
        }
        if (records != nullptr && std::fclose(records) != 0 && r == 0) {
            r = 13;
            *step = "fwrite";
            *err = errno;
        }
        lines = records = nullptr;
        if (names != nullptr) pxall::cdclose(&names, &detail);
        return r;
    }
    ~ListFiles() {
        const char* step = nullptr;
        int err = 0;
        close(&step, &err);
    }
};

int list_failure(const char* step, int code, int detail, int place) {
    pxall::syerr_message(kModList, "bun_make_pnc_file", step, code, detail, place);
    return code;
}

// One 34-character line and its CR LF; a NUL of a damaged code shows blank.
bool put_line(std::FILE* fp, const char* line) {
    char buf[refline::kSize + 3];
    for (size_t i = 0; i < refline::kSize; ++i) buf[i] = line[i] == 0 ? ' ' : line[i];
    std::memcpy(buf + refline::kSize, "\r\n", 3);
    return std::fputs(buf, fp) >= 0;
}

}  // namespace

RefItem* find_ref(const char* code) {
    for (pxall::ItemLinks* l = state().refs.first; l != nullptr; l = l->next) {
        auto* r = reinterpret_cast<RefItem*>(l);
        if (std::memcmp(r->code, code, sizeof r->code) == 0) return r;
    }
    return nullptr;
}

void bun_free_text() {
    std::free(state().text.table);
    state().text.table = nullptr;
    state().text.count = 0;
}

int bun_GetPNCfromTEXTD() {
    const Placements& t = state().text;
    for (int32_t i = 0; i < t.count; ++i) {
        const uint8_t* e = t.table + static_cast<size_t>(i) * im::kTextEntrySize;
        const char* code = reinterpret_cast<const char*>(e + im::kTeText);
        if (!has_reference(code) || find_ref(code) != nullptr) continue;
        auto* r = static_cast<RefItem*>(pxall::AddItem(&state().refs, static_cast<int>(sizeof(RefItem))));
        if (r == nullptr) {
            pxall::syerr_message(kModText, "bun_GetPNCfromTEXTD", "AddItem", kNoMemory, 0, kAtAddItem);
            return kNoMemory;
        }
        r->kind = e[im::kTeAttribute];
        std::memcpy(r->code, code, sizeof r->code);
        r->line = 0;
    }
    return 0;
}

int bun_text_conv(const uint8_t* info) {
    bun_free_text();
    pxall::AllDeleteItem(&state().refs);
    int32_t text_len = pxall::get_i32(info + im::kHdTextLength);
    int32_t coded_len = pxall::get_i32(info + im::kHdCodedLength);
    // As many entries as the reader fills: one per record begun.
    int32_t n = im::text_entries(text_len);
    if (n > 0) {
        auto* table = static_cast<uint8_t*>(std::calloc(2 * static_cast<size_t>(n), im::kTextEntrySize));
        if (table == nullptr) {
            pxall::syerr_message(kModText, "bun_text_conv", "malloc", kNoMemory, 0, kAtMalloc);
            return kNoMemory;
        }
        int r = pxall::decord_text(state().image_path, table, text_len, coded_len, n);
        if (r != 0) {
            std::free(table);
            pxall::syerr_message(kModText, "bun_text_conv", "decord_text", r, 0, kAtDecordText);
            return r;
        }
        state().text.table = table;
        state().text.count = n;
    }
    int r = bun_GetPNCfromTEXTD();
    if (r != 0) {
        pxall::syerr_message(kModText, "bun_text_conv", "GetPNCfromTEXTD", r, 0, kAtGetPnc);
        return r;
    }
    // The second copy as stored; the first halved for the page shown whole.
    if (n > 0) {
        uint8_t* halved = state().text.table;
        std::memcpy(halved + static_cast<size_t>(n) * im::kTextEntrySize, halved,
                    static_cast<size_t>(n) * im::kTextEntrySize);
        for (int32_t i = 0; i < n; ++i) {
            uint8_t* e = halved + static_cast<size_t>(i) * im::kTextEntrySize;
            for (size_t at : {im::kTeLeft, im::kTeTop, im::kTeRight, im::kTeBottom})
                pxall::put_i16(e + at, static_cast<int16_t>(pxall::get_i16(e + at) / 2));
        }
    }
    return 0;
}

int bun_make_pnc_file(unsigned char* fig_state, int16_t* status) {
    if (fig_state == nullptr || fig_state[0] == 0) return list_failure("Parameter Error", kBadState, 0, kAtParameter);
    const unsigned char* top = pxall::get_ctop_addr();
    const unsigned char* car = pxall::get_ccar_addr();
    if (top == nullptr || car == nullptr) return list_failure("Parameter Error", kBadState, 0, kAtParameter);
    char file[16];
    std::snprintf(file, sizeof file, pxall::kHinmeiFormat, reinterpret_cast<const char*>(top + pxall::ctop::kDataLangCode));

    ListFiles f;
    int r = pxall::cdopen(file, "", kHinmKeySet, 0, -1, pxall::get_i32(car + pxall::ccar::kSetupIndex), 0, &f.names,
                          &f.detail);
    if (r == 4) {
        *status = kStNoCd;
        return 0;
    }
    if (r != 0) return list_failure("cdopen", r, f.detail, kAtOpen);
    f.lines = plat::fopen(state().list_path, "wt");
    if (f.lines == nullptr) return list_failure("fopen", 11, errno, kAtFopen);
    f.records = plat::fopen(state().name_path, "w+b");
    if (f.records == nullptr) return list_failure("fopen", 11, errno, kAtFopen);

    int16_t lines = 0;
    int16_t handled = 0;
    char line[refline::kSize];
    for (pxall::ItemLinks* l = state().refs.first; l != nullptr; l = l->next) {
        auto* ref = reinterpret_cast<RefItem*>(l);
        ref->line = lines;
        ++handled;
        if (ref->kind == pxall::image::kAttrSubIllustration || ref->kind == pxall::image::kAttrSpecial) {
            std::memset(line, ' ', sizeof line);
            std::memcpy(line + refline::kCode, ref->code, refline::kLongCodeSize);
            const char* text =
                pxall::get_scr_text(ref->kind == pxall::image::kAttrSubIllustration ? kScrSubIllustration : kScrSpecial);
            if (text != nullptr)
                pxall::put_text_field(line + refline::kText, refline::kTextEnd - refline::kText, text, ' ');
            if (!put_line(f.lines, line)) return list_failure("fputs", 13, errno, kAtFputs);
            ++lines;
            continue;
        }

        char name[pxall::hinmei_rec::kNameSize];
        unsigned char rec[pxall::keyed::kBlockSize] = {};  // as long as the master says, at most a block
        r = pxall::cdreopen(f.names, &f.detail);
        if (r == 0) r = pxall::cdread(rec, ref->code, static_cast<int>(pxall::kPncSize), 0, nullptr, nullptr, f.names,
                                      &f.detail);
        if (r == 0) {
            std::memcpy(name, rec + pxall::hinmei_rec::kName, sizeof name);
        } else if (r == -1) {
            std::memset(name, ' ', sizeof name);
        } else {
            return list_failure("cdread", r, f.detail, kAtRead);
        }
        char out[namerec::kSize];
        std::memcpy(out + namerec::kCode, ref->code, namerec::kCodeSize);
        out[namerec::kCode + namerec::kCodeSize] = ' ';
        std::memcpy(out + namerec::kName, name, namerec::kNameSize);
        if (std::fwrite(out, sizeof out, 1, f.records) != 1) return list_failure("fwrite", 13, errno, kAtFwrite);

        // The name in pieces, the code on the first line only; a code
        // without a name still gets its line.
        int32_t pos = 0;
        char piece[refline::kNameSize];
        for (bool first = true;; first = false) {
            bool more = pxall::memory_edit_2_n_data(name, sizeof name, piece, sizeof piece, &pos) == 0;
            if (!more && !first) break;
            std::memset(line, ' ', sizeof line);
            if (first) std::memcpy(line + refline::kCode, ref->code, refline::kCodeSize);
            if (more) std::memcpy(line + refline::kName, piece, sizeof piece);
            if (!put_line(f.lines, line)) return list_failure("fputs", 13, errno, kAtFputs);
            ++lines;
            if (!more) break;
        }
    }
    if (handled == 0) {
        std::memset(line, ' ', sizeof line);
        if (!put_line(f.lines, line)) return list_failure("fputs", 13, errno, kAtFputs);
        handled = 1;
    }
    const char* step = nullptr;
    int err = 0;
    r = f.close(&step, &err);
    if (r != 0) return list_failure(step, r, err, kAtClose);
    pxall::put_i16(fig_state + fig::kRefCount, handled);
    return 0;
}

}  // namespace pxbunz

using namespace pxbunz;

extern "C" {

int32_t VBBunzMakePageInfo(VbString* info, VbString* page_record_out, VbString* bitmap_path, VbString* list_path,
                           int16_t* kind, int16_t* status) {
    *status = 0;
    State& s = state();
    bool in_sub = s.sub.current != nullptr;
    pxall::ItemLinks* page = in_sub ? s.sub.current : s.main.current;
    if (page == nullptr || s.image_path[0] == 0) return kBadState;
    const unsigned char* rec = page_record(page);

    uint8_t header[pxall::image::kHeaderSize] = {};
    char locator[page::kImageSize + 1] = {};
    std::memcpy(locator, rec + page::kImage, page::kImageSize);
    int detail = 0;
    int r = pxall::make_pack_image_file(s.image_path, locator, &detail);
    if (r == 4) {
        *status = kStNoCd;
    } else if (r != 0) {
        pxall::syerr_message(kModEntries, "VBBunzMakePageInfo", "make_pack_image_file", r, detail, kAtPack);
        return r;
    } else {
        r = pxall::decord_img(s.image_path, s.bitmap_path, header);
        if (r == pxall::kImgTooLarge) {
            *status = kStTooLarge;
        } else if (r != 0) {
            pxall::syerr_message(kModEntries, "VBBunzMakePageInfo", "decord_img", r, 0, kAtDecode);
            return r;
        } else {
            *kind = header[pxall::image::kHdKind] == '3' ? 1 : 2;
            r = bun_text_conv(header);
            if (r != 0) {
                pxall::syerr_message(kModEntries, "VBBunzMakePageInfo", "bun_text_conv", r, 0, kAtTextConv);
                return r;
            }
            r = bun_make_pnc_file(in_sub ? sub_fig() : main_fig(), status);
            if (r != 0) {
                pxall::syerr_message(kModEntries, "VBBunzMakePageInfo", "bun_text_conv", r, 0, kAtListFiles);
                return r;
            }
        }
    }
    to_caller(info, header + pxall::image::kHdId, sizeof header - pxall::image::kHdId);
    to_caller(page_record_out, rec, page::kSize);
    path_to_caller(bitmap_path, s.bitmap_path);
    path_to_caller(list_path, s.list_path);
    return 0;
}

}  // extern "C"
